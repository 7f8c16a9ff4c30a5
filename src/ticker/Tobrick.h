// CTobrick: the floating strip that alternates segments of the message file with the title.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CTobrick : public CDialog {
public:
    explicit CTobrick(CWnd* parent = nullptr);
    ~CTobrick() override = default;

    static constexpr UINT_PTR kTickTimer = 22;
    static constexpr UINT kTickInterval = 3000;

    int m_phase = 0;       // what the next tick draws: 0 the next segment, 1 the title
    int m_segmentEnd = 0;  // index in m_text of the marker that ended the last segment shown
    std::string m_text;
    CFont m_font;

    // Where the message file lives: the Windows directory's drive, then the shared Common Files.
    static std::string MessageFilePath();
    // Reads the message file; "Hello Quon" when it cannot be read.
    static std::string LoadMessageText(const std::string& path);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id);

    DECLARE_MESSAGE_MAP()
};
