// A header of the system folder itself, included by its path.
#pragma once
