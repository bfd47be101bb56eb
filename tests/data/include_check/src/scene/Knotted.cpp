// A listed tie and an unlisted one against the order.
#include "app/Tarvo.h"
#include "app/Launcher.h"
