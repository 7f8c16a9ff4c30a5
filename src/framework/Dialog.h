// CDialog: modal and modeless dialogs from templates, data exchange and dialog-initialisation data.
#pragma once

#include <vector>

#include "framework/Wnd.h"

class CDialog;

// Binds dialog controls to their objects while a dialog initialises.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate)
    {
    }
    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
};

// Subclasses control id of the dialog into the given object (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override = default;

    // Runs the dialog modally; its owner is the parent or else the application's main window.
    INT_PTR DoModal();
    // Creates the dialog as a modeless window, owned as DoModal's is.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT GetTemplateId() const { return m_templateId; }
    bool IsModal() const { return m_modal; }

protected:
    virtual void DoDataExchange(CDataExchange* dx) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Hands each control its data from the dialog-initialisation resource of the template.
    void ExecuteDlgInit();

    UINT m_templateId;
    CWnd* m_pParentWnd;
    bool m_modal = false;

    DECLARE_MESSAGE_MAP()

private:
    HWND OwnerWindow() const;
    static std::vector<BYTE> AbsolutelyAlignedTemplate(UINT templateId);
    static INT_PTR CALLBACK StaticDialogProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
};
