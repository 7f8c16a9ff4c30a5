// The media engine library (Media.dll): MCI players for video, MIDI and WAVE files and audio CDs.
#pragma once

#ifdef MEDIA_BUILDING_DLL
#define MEDIA_API __declspec(dllexport)
#else
#define MEDIA_API __declspec(dllimport)
#endif

// One MCI device opened on a file. The object owns the device and closes it when it goes.
// Every call is quiet: failures come back as results, never as message boxes.
class MEDIA_API CMciPlayer {
public:
    virtual ~CMciPlayer();
    CMciPlayer(const CMciPlayer&) = delete;
    CMciPlayer& operator=(const CMciPlayer&) = delete;

    bool Open(const char* path);  // an ANSI path; closes whatever was open first
    bool Play();                  // starts from the current position and returns at once
    bool Stop();                  // stops and rewinds, so the next Play starts over
    void Close();                 // safe to repeat and when nothing is open
    bool IsOpen() const { return m_device != 0; }

protected:
    explicit CMciPlayer(const char* deviceType);

private:
    const char* m_deviceType;
    unsigned int m_device = 0;  // the MCI device id; 0 while nothing is open
};

class MEDIA_API CVideo : public CMciPlayer {
public:
    CVideo();
    ~CVideo() override;
};

class MEDIA_API CMidi : public CMciPlayer {
public:
    CMidi();
    ~CMidi() override;
};

class MEDIA_API CWaveAudio : public CMciPlayer {
public:
    CWaveAudio();
    ~CWaveAudio() override;
};

// The audio-CD device of the first CD drive. The door calls open the device on demand; pause,
// stop and seek act only on a device that is already open, so they cost nothing without one.
// Without a drive or a disc every call returns quietly.
class MEDIA_API CCDAudio {
public:
    CCDAudio();
    virtual ~CCDAudio();
    CCDAudio(const CCDAudio&) = delete;
    CCDAudio& operator=(const CCDAudio&) = delete;

    bool Open();  // opens the device if it is not open yet
    void Pause();
    void Stop();
    // Positions at track:minute:second:frame. Returns 0, or the MCI error code.
    int SeekTo(int track, int minute, int second, int frame);
    void Close();        // releases the device; safe to repeat
    void OpenCD_Rom();   // opens (ejects) the tray
    void CloseCD_Rom();  // closes the tray
    bool IsOpen() const { return m_device != 0; }

private:
    void SetDoor(bool open);

    unsigned int m_device = 0;  // the MCI device id; 0 while closed
};
