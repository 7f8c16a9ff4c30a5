// Fitting the status line's text into its box: byte counts, double-byte aware searches.
#pragma once

#include <string>

// Shortens text in place so that a path or long name fits the status line: folder parts go
// first while the text has at least 18 bytes, then an extension of a text of 20 or more
// bytes, and at last anything past 20 bytes (never half of a double-byte character).
void ShortenStatusText(std::string& text);
