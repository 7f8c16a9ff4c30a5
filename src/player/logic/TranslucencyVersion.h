// Which system versions offer the layered windows the tray menu's translucency entry needs.
#pragma once

// ntFamily: the platform is of the NT family (the top bit of the version word is clear).
// True for version 5.2 and later; 5.1, 5.0 and every system outside the NT family answer no.
bool TranslucencySupported(bool ntFamily, unsigned long major, unsigned long minor);
