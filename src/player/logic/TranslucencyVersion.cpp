// The system versions that get the translucency entry of the tray menu.
#include "player/logic/TranslucencyVersion.h"

bool TranslucencySupported(bool ntFamily, unsigned long major, unsigned long minor)
{
    if (!ntFamily)
        return false;
    return major > 5 || (major == 5 && minor > 1);
}
