// The single-document trio: a document, the frame that shows it and the
// view inside the frame, made together by a document template.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/FrameWnd.h"
#include "framework/Wnd.h"

class CDocument {
public:
    virtual ~CDocument() = default;
    // A new, empty document.
    virtual BOOL OnNewDocument() { return TRUE; }
};

// A child window that fills the frame's client area between the bars.
class CView : public CWnd {
public:
    BOOL Create(HWND frame);
};

class CSingleDocTemplate {
public:
    CSingleDocTemplate(UINT resourceId, std::function<std::unique_ptr<CDocument>()> makeDocument,
                       std::function<std::unique_ptr<CFrameWnd>()> makeFrame,
                       std::function<std::unique_ptr<CView>()> makeView);

    // A new empty document; the first time also its frame (from the
    // template's resources) and view. Returns the frame, or null on failure.
    CFrameWnd* OpenDocumentFile();

private:
    UINT m_resourceId;
    std::function<std::unique_ptr<CDocument>()> m_makeDocument;
    std::function<std::unique_ptr<CFrameWnd>()> m_makeFrame;
    std::function<std::unique_ptr<CView>()> m_makeView;
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWnd> m_frame;
    std::unique_ptr<CView> m_view;
};
