#include "engine/DetachablePageView.h"

#include <utility>

DetachablePageView::DetachablePageView(std::unique_ptr<DownloadPageView> page)
    : m_page(std::move(page)), m_bDetached(m_page == nullptr) {}

void DetachablePageView::Detach() { m_bDetached.store(true, std::memory_order_release); }

bool DetachablePageView::IsDetached() const { return m_bDetached.load(std::memory_order_acquire); }

void DetachablePageView::SetStatusText(int stringId, int index, int total) {
  if (!IsDetached()) m_page->SetStatusText(stringId, index, total);
}

void DetachablePageView::SetProgress(int percent) {
  if (!IsDetached()) m_page->SetProgress(percent);
}

void DetachablePageView::StartMarquee() {
  if (!IsDetached()) m_page->StartMarquee();
}

void DetachablePageView::DisableCancel() {
  if (!IsDetached()) m_page->DisableCancel();
}

void DetachablePageView::PressNext() {
  if (!IsDetached()) m_page->PressNext();
}

void DetachablePageView::ShowPage() {
  if (!IsDetached()) m_page->ShowPage();
}

int DetachablePageView::ShowMessageBox(int stringId, uint32_t type) {
  // Nobody is left to answer: a retry question gives up, the other boxes just close.
  return IsDetached() ? kIdCancel : m_page->ShowMessageBox(stringId, type);
}
