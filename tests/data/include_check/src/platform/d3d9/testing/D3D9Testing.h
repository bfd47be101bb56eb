// A testing hook of the layer.
#pragma once
