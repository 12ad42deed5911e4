#include "net/ERXfer.h"

namespace DAVavador {

ERXfer::~ERXfer() = default;

void ERXfer::Cancel() {
  request_.cancelled = true;
  SetEvent(cancelEvent_.Get());
}

void ERXfer::Reset() {
  request_.remoteFolder.clear();
  request_.remoteFile.clear();
  request_.localPath.clear();
  request_.error = 0;
  request_.progressFrom = request_.progressTo = 0;
  request_.cancelled = false;
  ResetEvent(cancelEvent_.Get());
  request_.ownWindow = false;
  request_.reply.clear();
}

void ERXfer::SetRequest(const WString& remoteFile, const WString& localPath) {
  Reset();
  request_.remoteFile = remoteFile;
  request_.localPath = localPath;
}

void ERXfer::SetRequestFromPath(const WString& remotePath, const WString& localPath) {
  Reset();
  size_t slash = remotePath.rfind('/');
  if (slash != WString::npos) request_.remoteFolder = remotePath.substr(0, slash);
  request_.remoteFile = slash == WString::npos ? remotePath : remotePath.substr(slash + 1);
  request_.localPath = localPath;
}

bool ERXfer::RunWithWindow(TransferProgress& window, HWND owner, UINT titleId) {
  request_.progressFrom = 0;
  request_.progressTo = 100;
  request_.ownWindow = true;
  window_ = &window;
  return window.Run(owner, titleId, RunWorker, this, CancelWorker);
}

DWORD WINAPI ERXfer::RunWorker(LPVOID transfer) {
  auto* self = static_cast<ERXfer*>(transfer);
  TransferRequest& request = self->request_;
  return self->Download(request, self->window_, request.progressFrom, request.progressTo);
}

void ERXfer::CancelWorker(LPVOID transfer) {
  static_cast<ERXfer*>(transfer)->Cancel();
}

}  // namespace DAVavador
