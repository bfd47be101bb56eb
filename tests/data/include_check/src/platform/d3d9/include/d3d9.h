// The public header: system code may include it.
#pragma once
