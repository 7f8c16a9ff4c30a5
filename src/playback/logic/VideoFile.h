// Deciding from a path's suffix whether a medium is a video that needs the visible window.
#pragma once

#include <string>

// True when the suffix taken from the path's first "." (not the last one) begins with one of
// the video extensions. Directory names with a dot therefore hide the real extension.
bool IsVideoFile(std::string path);
