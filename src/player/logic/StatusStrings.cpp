// Fixed texts of the status line.
#include "player/logic/StatusStrings.h"

const char kHelloQuon[] = "Hello Quon";
const char kSongsOver[] = "Songs Over";
