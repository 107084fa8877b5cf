#include "updater/http_get.h"

#include <wininet.h>

#include <climits>
#include <optional>
#include <string_view>
#include <thread>

#include "platform/text.h"
#include "ui/application.h"

using platform::Widen;

namespace updater {
namespace {

constexpr wchar_t kFormContentType[] = L"Content-Type: application/x-www-form-urlencoded";
constexpr DWORD kReadSize = 1025;
constexpr DWORD kLengthBufferBytes = 1024;
// Each hand-off to the user-interface thread costs about as much as a read, so the progress of the
// chunks that arrive in quick succession is handed over together, one event per chunk still.
constexpr ULONGLONG kProgressIntervalMs = 20;
// How often a worker waiting for its request to go out looks at the stop request and the clock.
constexpr DWORD kSendCheckMs = 20;

// The Internet handle, the connection and the request, closed in the reverse order.
struct InternetHandles {
  HINTERNET internet = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  ~InternetHandles() {
    if (request) InternetCloseHandle(request);
    if (connection) InternetCloseHandle(connection);
    if (internet) InternetCloseHandle(internet);
  }
};

// The target file, written in large pieces rather than one system call per small read. Whatever
// arrived is in the file when it is closed, also when the transfer fails.
class TargetFile {
 public:
  ~TargetFile() { Close(); }
  bool Create(const std::string& name) {
    handle_ = CreateFileW(Widen(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle_ != INVALID_HANDLE_VALUE;
  }
  bool Write(const char* data, DWORD size) {
    buffer_.append(data, size);
    return buffer_.size() < kFlushSize || Flush();
  }
  // True when every byte reached the file and it closed.
  bool Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    bool ok = Flush();
    ok = CloseHandle(handle_) && ok;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  static constexpr size_t kFlushSize = 64 * 1024;
  bool Flush() {
    DWORD written = 0;
    bool ok = WriteFile(handle_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr) &&
              written == buffer_.size();
    buffer_.clear();
    return ok;
  }
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::string buffer_;
};

// Digits only, and no more than the counters hold.
std::optional<int> ParseLength(std::wstring_view text) {
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (wchar_t ch : text) {
    if (ch < L'0' || ch > L'9') return std::nullopt;
    value = value * 10 + (ch - L'0');
    if (value > INT_MAX) return std::nullopt;
  }
  return static_cast<int>(value);
}

std::optional<int> ParsePort(std::string_view text) {
  if (text.empty()) return 80;
  int value = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + (ch - '0');
    if (value > 65535) return std::nullopt;
  }
  if (value == 0) return std::nullopt;
  return value;
}

void CALLBACK RequestStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD);

}  // namespace

// This Wine's Internet client ignores the connect time-out option, so the request is sent on a
// helper thread, and the worker stops waiting when no connection stood within the time-out. The
// helper holds the handles too, and the last of the two closes them.
struct PendingRequest {
  InternetHandles h;
  std::string body;
  std::atomic<bool> connected{false};
  BOOL sent = FALSE;  // written before done is signalled
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~PendingRequest() { CloseHandle(done); }
};

namespace {

// The request's status reaches this callback with the request as its context.
void CALLBACK RequestStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD) {
  if (status == INTERNET_STATUS_CONNECTED_TO_SERVER && context)
    reinterpret_cast<PendingRequest*>(context)->connected = true;
}

}  // namespace

ParsedURL ParseURL(const std::string& URL) {
  constexpr std::string_view scheme = "http://";
  std::string_view rest = URL;
  if (rest.size() >= scheme.size() && platform::EqualsIgnoreCase(rest.substr(0, scheme.size()), scheme))
    rest.remove_prefix(scheme.size());
  ParsedURL out;
  size_t end = rest.find_first_of("/?#");
  std::string_view host = rest.substr(0, end);
  if (end != std::string_view::npos) {
    if (rest[end] == '/') out.Path.clear();
    out.Path.append(rest.substr(end));
  }
  size_t colon = host.find(':');
  if (colon != std::string_view::npos) {
    std::optional<int> port = ParsePort(host.substr(colon + 1));
    out.Valid = port.has_value();
    out.Port = port.value_or(0);
    host = host.substr(0, colon);
  }
  out.Host = std::string(host);
  if (out.Host.empty()) out.Valid = false;
  return out;
}

std::atomic<int> THTTPGetThread::alive_{0};

THTTPGetThread::THTTPGetThread(std::string AcceptTypes, std::string Agent, std::string URL,
                               std::string FileName, std::string UserName, std::string Password,
                               std::string PostQuery, std::string Referer, bool BinaryData,
                               bool UseCache, TOnProgressEvent Progress, bool ToFile,
                               std::shared_ptr<HTTPGetLink> Link)
    : AcceptTypes(std::move(AcceptTypes)),
      Agent(std::move(Agent)),
      URL(std::move(URL)),
      FileName(std::move(FileName)),
      UserName(std::move(UserName)),
      Password(std::move(Password)),
      PostQuery(std::move(PostQuery)),
      Referer(std::move(Referer)),
      BinaryData(BinaryData),
      UseCache(UseCache),
      ToFile(ToFile),
      Progress(std::move(Progress)),
      link_(std::move(Link)) {
  ++alive_;
}

THTTPGetThread::~THTTPGetThread() { --alive_; }

int THTTPGetThread::Alive() { return alive_; }

void THTTPGetThread::Execute() {
  try {
    Transfer();
  } catch (...) {
    Success = false;
  }
  HandOverProgress();
}

// Every early return leaves Success false; the handles and the file close on the way out.
void THTTPGetThread::Transfer() {
  ParsedURL where = ParseURL(URL);
  if (Terminated()) return;

  auto pending = std::make_shared<PendingRequest>();
  InternetHandles& h = pending->h;
  std::wstring agent = Widen(Agent);
  h.internet = InternetOpenW(agent.empty() ? nullptr : agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG,
                             nullptr, nullptr, 0);
  if (!h.internet || !where.Valid) return;
  InternetSetStatusCallbackW(h.internet, RequestStatus);
  h.connection = InternetConnectW(h.internet, Widen(where.Host).c_str(),
                                  static_cast<INTERNET_PORT>(where.Port), Widen(UserName).c_str(),
                                  Widen(Password).c_str(), INTERNET_SERVICE_HTTP, 0, 0);
  if (!h.connection) return;
  // This Wine takes the send and receive time-outs from the connection, not the Internet handle.
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionW(h.connection, option, &Timeout, sizeof Timeout);
  std::wstring accept = L"Accept: " + Widen(AcceptTypes);
  const wchar_t* acceptList[] = {accept.c_str(), nullptr};
  h.request = HttpOpenRequestW(h.connection, PostQuery.empty() ? L"GET" : L"POST",
                               Widen(where.Path).c_str(), L"HTTP/1.0", Widen(Referer).c_str(),
                               acceptList, UseCache ? 0 : INTERNET_FLAG_RELOAD,
                               reinterpret_cast<DWORD_PTR>(pending.get()));
  if (!h.request) return;
  pending->body = PostQuery;
  if (!SendRequest(pending)) return;
  // The status is needed only until a connection stood; without the callback reads cost less.
  InternetSetStatusCallbackW(h.request, nullptr);
  if (Terminated()) return;

  // An error page is not the resource that was asked for.
  DWORD status = 0, statusSize = sizeof status;
  if (!HttpQueryInfoW(h.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                      &statusSize, nullptr) ||
      status < 200 || status > 299)
    return;

  wchar_t lengthText[kLengthBufferBytes / sizeof(wchar_t)];
  DWORD lengthSize = kLengthBufferBytes, index = 0;
  bool announced =
      HttpQueryInfoW(h.request, HTTP_QUERY_CONTENT_LENGTH, lengthText, &lengthSize, &index);
  if (Terminated()) return;
  if (!announced && BinaryData) return;
  if (announced) {
    std::optional<int> length = ParseLength({lengthText, lengthSize / sizeof(wchar_t)});
    if (!length) return;
    FileSize = *length;
  }
  TotalRead = 0;
  lastHandOff_ = GetTickCount64();

  TargetFile file;
  if (ToFile && !file.Create(FileName)) return;
  StringResult.clear();

  char buffer[kReadSize];
  bool complete = false;
  while (!Terminated()) {
    BytesRead = 0;
    // A read that fails (a time-out here) may still have delivered bytes: they are kept too.
    bool read = InternetReadFile(h.request, buffer, kReadSize, &BytesRead);
    if (BytesRead > 0) {
      if (BytesRead > static_cast<DWORD>(INT_MAX - TotalRead)) return;
      if (ToFile) {
        if (!file.Write(buffer, BytesRead)) return;
      } else {
        StringResult.append(buffer, BytesRead);
      }
      TotalRead += static_cast<int>(BytesRead);
      ChunkReceived();
    }
    if (!read) break;
    if (BytesRead == 0) {
      complete = true;
      break;
    }
  }
  if (!complete) return;
  // A body without an announced length is whole when it ended cleanly.
  if (!announced) FileSize = TotalRead;
  Success = FileSize == TotalRead && file.Close();
}

bool THTTPGetThread::SendRequest(const std::shared_ptr<PendingRequest>& pending) {
  std::thread([pending] {
    HINTERNET request = pending->h.request;
    std::string& body = pending->body;
    pending->sent = body.empty()
                        ? HttpSendRequestW(request, nullptr, 0, nullptr, 0)
                        : HttpSendRequestW(request, kFormContentType,
                                           std::size(kFormContentType) - 1, body.data(),
                                           static_cast<DWORD>(body.size()));
    SetEvent(pending->done);
  }).detach();
  ULONGLONG start = GetTickCount64();
  while (WaitForSingleObject(pending->done, kSendCheckMs) == WAIT_TIMEOUT) {
    if (Terminated()) return false;
    if (!pending->connected && GetTickCount64() - start >= Timeout) return false;
  }
  return pending->sent;
}

void THTTPGetThread::ChunkReceived() {
  if (!Progress) return;
  pendingProgress_.emplace_back(FileSize, TotalRead);
  if (GetTickCount64() - lastHandOff_ >= kProgressIntervalMs) HandOverProgress();
}

void THTTPGetThread::HandOverProgress() {
  if (pendingProgress_.empty()) return;
  Synchronize([this] { UpdateProgress(); });
  pendingProgress_.clear();
  lastHandOff_ = GetTickCount64();
}

void THTTPGetThread::UpdateProgress() {
  auto& app = ui::Application::Instance();
  for (auto [total, readed] : pendingProgress_) {
    if (!link_->Owner) return;  // the component went during an earlier event
    app.Guard([&] { Progress(link_->Owner, total, readed); });
  }
}

THTTPGet::THTTPGet(std::string name)
    : Object(std::move(name)), link_(std::make_shared<HTTPGetLink>(HTTPGetLink{this})) {}

THTTPGet::~THTTPGet() {
  Abort();
  link_->Owner = nullptr;
}

void THTTPGet::GetFile() {
  if (Worker) return;
  auto worker = std::make_shared<THTTPGetThread>(AcceptTypes, Agent, URL, FileName, UserName,
                                                 Password, PostQuery, Referer, BinaryData,
                                                 UseCache, OnProgress, true, link_);
  worker->Timeout = Timeout;
  Worker = worker.get();
  worker->OnTerminate = [link = link_] {
    if (link->Owner) link->Owner->ThreadDone();
  };
  worker->Start();
  if (!WaitThread) return;
  // A handler run meanwhile may free this component; the link tells.
  auto link = link_;
  auto& app = ui::Application::Instance();
  while (link->Owner && Worker) {
    app.ProcessMessages();
    if (link->Owner && Worker)
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void THTTPGet::Abort() {
  if (Worker) Worker->Terminate();
}

void THTTPGet::ThreadDone() {
  THTTPGetThread& worker = *Worker;
  // Busy until the handler has returned, also when it fails; it may free this component.
  struct Idle {
    std::shared_ptr<HTTPGetLink> link;
    ~Idle() {
      if (link->Owner) link->Owner->Worker = nullptr;
    }
  } idle{link_};
  // An abort wins over the outcome that the worker reached.
  if (worker.Success && !worker.Terminated()) {
    if (worker.ToFile) {
      if (auto handler = OnDoneFile) handler(this, worker.FileName, worker.FileSize);
    } else if (auto handler = OnDoneString) {
      handler(this, worker.StringResult);
    }
  } else if (auto handler = OnError) {
    handler(this);
  }
}

void FinishTransfers() {
  auto& app = ui::Application::Instance();
  while (THTTPGetThread::Alive() > 0) {
    app.CheckSynchronize();
    Sleep(5);
  }
}

}  // namespace updater
