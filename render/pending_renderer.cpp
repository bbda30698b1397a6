// Temporary: the renderer record until the device-and-resources code lands; delete then.
#include "render/device_resources.h"

Renderer renderer;
