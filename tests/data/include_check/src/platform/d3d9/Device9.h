// An internal header of the layer.
#pragma once
