// Fixed texts of the status line.
#pragma once

extern const char kHelloQuon[];  // the idle text, "Hello Quon"
extern const char kSongsOver[];  // shown when a play-through of the list has ended, "Songs Over"
