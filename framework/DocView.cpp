#include "framework/DocView.h"

BOOL CView::Create(HWND frame) {
    RECT client{};
    GetClientRect(frame, &client);
    return CreateEx(WS_EX_CLIENTEDGE, AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW)),
                    "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, frame,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AfxIdwPaneFirst)));
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId,
                                       std::function<std::unique_ptr<CDocument>()> makeDocument,
                                       std::function<std::unique_ptr<CFrameWnd>()> makeFrame,
                                       std::function<std::unique_ptr<CView>()> makeView)
    : m_resourceId(resourceId),
      m_makeDocument(std::move(makeDocument)),
      m_makeFrame(std::move(makeFrame)),
      m_makeView(std::move(makeView)) {}

CFrameWnd* CSingleDocTemplate::OpenDocumentFile() {
    std::unique_ptr<CDocument> document = m_makeDocument();
    if (!document->OnNewDocument()) return nullptr;
    m_document = std::move(document);
    if (m_frame) return m_frame.get();

    std::unique_ptr<CFrameWnd> frame = m_makeFrame();
    if (!frame->LoadFrame(m_resourceId)) return nullptr;
    std::unique_ptr<CView> view = m_makeView();
    if (!view->Create(frame->GetSafeHwnd())) {
        frame->DestroyWindow();
        return nullptr;
    }
    frame->RecalcLayout();
    m_frame = std::move(frame);
    m_view = std::move(view);
    return m_frame.get();
}
