// The keyboard's media keys mapped to the player's transport.
#include "playback/logic/MediaKeys.h"

namespace {
// Application commands (winuser.h).
const int kAppCommandNextTrack = 11;
const int kAppCommandPreviousTrack = 12;
const int kAppCommandStop = 13;
const int kAppCommandPlayPause = 14;
// Virtual-key codes (winuser.h).
const unsigned kKeyNextTrack = 0xB0;
const unsigned kKeyPreviousTrack = 0xB1;
const unsigned kKeyStop = 0xB2;
const unsigned kKeyPlayPause = 0xB3;
} // namespace

MediaKey MediaKeyForAppCommand(int command)
{
    switch (command) {
    case kAppCommandPlayPause:
        return MediaKey::PlayPause;
    case kAppCommandStop:
        return MediaKey::Stop;
    case kAppCommandNextTrack:
        return MediaKey::Next;
    case kAppCommandPreviousTrack:
        return MediaKey::Previous;
    default:
        return MediaKey::None;
    }
}

MediaKey MediaKeyForVirtualKey(unsigned key)
{
    switch (key) {
    case kKeyPlayPause:
        return MediaKey::PlayPause;
    case kKeyStop:
        return MediaKey::Stop;
    case kKeyNextTrack:
        return MediaKey::Next;
    case kKeyPreviousTrack:
        return MediaKey::Previous;
    default:
        return MediaKey::None;
    }
}
