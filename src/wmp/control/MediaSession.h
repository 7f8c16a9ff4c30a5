// One medium opened for playing: its DirectShow filter graph, its clock and its video window.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <string>

#include "wmp/control/ComPtr.h"

class CMediaSession {
public:
    CMediaSession() = default;
    ~CMediaSession();
    CMediaSession(const CMediaSession&) = delete;
    CMediaSession& operator=(const CMediaSession&) = delete;

    // Builds the graph for the file. The graph's events arrive at the window as notifyMessage
    // with lParam = cookie. Fails for anything that cannot be played here: a missing file, data no
    // decoder takes, or no device to render the sound to.
    // A sound-only medium's sound goes to soundSink (may be null) when the sink takes its format;
    // a medium with a picture keeps a sound renderer of its own, timed with its picture.
    HRESULT Open(const std::wstring& path, HWND notifyWindow, UINT notifyMessage, LONG_PTR cookie,
                 IBaseFilter* soundSink);
    // Whether the sound goes to the sink: such a graph runs without a clock, as fast as the sink
    // takes what it decodes.
    bool FeedsSink() const { return m_feedsSink; }
    // Takes the picture into the owner window (before the renderer can show a window of its own).
    void AttachVideo(HWND owner);
    // Decoders started and first samples at the renderers, so that starting costs only the run.
    HRESULT Preroll();

    // Starts playing from the current position. Wine's own Run waits about 200 ms before the
    // first sample; the graph is run here at a start time just ahead of its clock instead, which
    // also lets the stream position be read from that clock.
    HRESULT Start();
    // Stops and goes back to the beginning (the graph is kept for the next Start).
    void StopAndRewind();
    bool IsRunning() const { return m_running; }

    // What the graph's event queue held: the stream ran out, or playing failed on the way.
    enum class GraphEvent { None, Complete, Aborted };
    GraphEvent TakeEvents();

    // Once the stream is complete: milliseconds until its last sample is due by the clock (the
    // sound renderer reports completion while its buffer still holds about 200 ms); 0 when due.
    DWORD MillisecondsToEnd() const;
    // Milliseconds of stream played and the medium's length (0 when unknown).
    LONGLONG PositionMs() const;
    LONGLONG DurationMs() const { return m_duration / 10000; }
    // Running well past its length without a report of its end.
    bool IsOverdue() const;

    // Audio settings in the units of IBasicAudio (hundredths of a decibel).
    void ApplyAudio(long volume, long balance, bool mute);

    bool HasPicture() const { return m_hasPicture; }
    // Puts the picture into the owner window's area: stretched to fill it or, with naturalSize,
    // at the medium's own size (shrunk to fit, aspect kept) in its centre.
    void PlaceVideo(HWND owner, const RECT& area, bool naturalSize);
    void HideVideo();

private:
    REFERENCE_TIME ClockNow() const;
    void DetachWindows();

    ComPtr<IGraphBuilder> m_graph;
    ComPtr<IMediaControl> m_control;
    ComPtr<IMediaEventEx> m_events;
    ComPtr<IMediaSeeking> m_seeking;
    ComPtr<IMediaFilter> m_filter;
    ComPtr<IBasicAudio> m_audio;
    ComPtr<IVideoWindow> m_video;
    ComPtr<IBasicVideo> m_basicVideo;
    ComPtr<IReferenceClock> m_clock;

    REFERENCE_TIME m_duration = 0;    // 100 ns units; 0 when the graph cannot tell
    REFERENCE_TIME m_streamStart = 0; // clock time of stream time 0 while running
    LONGLONG m_runStartTicks = 0;     // performance counter at Start
    LONGLONG m_completeTicks = 0;     // performance counter when the stream completed
    bool m_running = false;
    bool m_feedsSink = false;
    bool m_complete = false;
    bool m_hasPicture = false;
    bool m_videoOwned = false;
    LONG m_videoWidth = 0;
    LONG m_videoHeight = 0;
};
