#include "updater/http_get.h"

#include <wininet.h>

#include <algorithm>
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
// Redirects followed in one transfer; the next one fails it.
constexpr int kMaxRedirects = 10;
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

// The target file. The chunks that arrive together are written in one piece, once the Internet
// client has no more of them at hand: before the worker waits for the server, every byte that
// arrived is in the file, so a process that ends then (closed, killed) loses none. Others may read
// the file meanwhile. While the worker holds it no one else can write it, so its name is the
// worker's file: the claim lets the user-interface thread delete it then (a version file that a
// blocked worker holds), and only then.
class TargetFile {
 public:
  explicit TargetFile(FileClaim& claim) : claim_(claim) {}
  ~TargetFile() { Close(); }
  bool Create(const std::string& name) {
    std::lock_guard<std::mutex> lock(claim_.mutex);
    if (claim_.discarded) return false;
    handle_ = CreateFileW(Widen(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                          nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    claim_.open = handle_ != INVALID_HANDLE_VALUE;
    BY_HANDLE_FILE_INFORMATION info;
    if (claim_.open && GetFileInformationByHandle(handle_, &info)) {
      claim_.made = true;
      claim_.volume = info.dwVolumeSerialNumber;
      claim_.index = (ULONGLONG{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    }
    return claim_.open;
  }
  bool Write(const char* data, DWORD size) {
    buffer_.append(data, size);
    return buffer_.size() < kMaxBuffer || Flush();
  }
  bool Flush() {
    if (handle_ == INVALID_HANDLE_VALUE || buffer_.empty()) return true;
    DWORD written = 0;
    bool ok = WriteFile(handle_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr) &&
              written == buffer_.size();
    buffer_.clear();
    return ok;
  }
  // True when every byte reached the file and it closed.
  bool Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    bool ok = Flush();
    std::lock_guard<std::mutex> lock(claim_.mutex);
    ok = CloseHandle(handle_) && ok;
    handle_ = INVALID_HANDLE_VALUE;
    claim_.open = false;
    return ok;
  }

 private:
  FileClaim& claim_;
  // The client hands over at most its own buffer (8 KB here) at a time; this only bounds a
  // client with a larger one.
  static constexpr size_t kMaxBuffer = 64 * 1024;
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

// What a host name may hold; anything else (a blank, a control character, "@", a byte outside
// ASCII) would go raw into the request line and the Host header.
template <typename Char>
bool IsHostName(std::basic_string_view<Char> host) {
  return !host.empty() && std::all_of(host.begin(), host.end(), [](Char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '.' || ch == '-' || ch == '_';
  });
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
  ParsedURL out;
  // Any other address would be fetched from a wrong host over plain HTTP.
  if (rest.size() < scheme.size() ||
      !platform::EqualsIgnoreCase(rest.substr(0, scheme.size()), scheme)) {
    out.Valid = false;
    return out;
  }
  rest.remove_prefix(scheme.size());
  rest = rest.substr(0, rest.find('#'));
  size_t end = rest.find_first_of("/?");
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
  if (!IsHostName(host)) out.Valid = false;
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

void THTTPGetThread::DiscardFile() {
  std::lock_guard<std::mutex> lock(file_.mutex);
  file_.discarded = true;
  if (!file_.made) return;
  // The file under the name is deleted through a handle, so the file checked is the file deleted.
  // A file that the worker still holds (opened with FILE_SHARE_DELETE) goes once it closes it.
  HANDLE file = CreateFileW(Widen(FileName).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(file, &info) && info.dwVolumeSerialNumber == file_.volume &&
      ((ULONGLONG{info.nFileIndexHigh} << 32) | info.nFileIndexLow) == file_.index) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
  }
  CloseHandle(file);
}

void THTTPGetThread::Execute() {
  try {
    Transfer();
  } catch (...) {
    Success = false;
  }
  HandOverProgress();
}

// Where one request of a transfer goes; a redirect gives the next one.
struct RequestTarget {
  std::wstring host;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
  std::wstring path;
  bool secure = false;
  std::wstring Url() const {
    return std::wstring(secure ? L"https://" : L"http://") + host + L":" + std::to_wstring(port) + path;
  }
};

namespace {

bool IsRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The target that a redirect's Location names, relative to the request that got it; none when
// there is no such header or it names no HTTP address.
std::optional<RequestTarget> RedirectTarget(HINTERNET request, const RequestTarget& from) {
  std::wstring location(2048, L'\0');
  DWORD size = static_cast<DWORD>(location.size() * sizeof(wchar_t)), index = 0;
  if (!HttpQueryInfoW(request, HTTP_QUERY_LOCATION, location.data(), &size, &index)) return std::nullopt;
  location.resize(size / sizeof(wchar_t));
  // As for the first address, no fragment is sent; cut before combining, which would resolve a
  // "../" inside it.
  location.erase(std::min(location.find(L'#'), location.size()));
  std::wstring combined(4096, L'\0');
  DWORD length = static_cast<DWORD>(combined.size());
  if (!InternetCombineUrlW(from.Url().c_str(), location.c_str(), combined.data(), &length, ICU_NO_ENCODE))
    return std::nullopt;
  combined.resize(length);
  wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1], path[INTERNET_MAX_PATH_LENGTH + 1],
      extra[INTERNET_MAX_PATH_LENGTH + 1];
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = static_cast<DWORD>(std::size(path));
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = static_cast<DWORD>(std::size(extra));
  if (!InternetCrackUrlW(combined.c_str(), 0, 0, &parts) || parts.dwHostNameLength == 0 ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
    return std::nullopt;
  RequestTarget to;
  to.host.assign(host, parts.dwHostNameLength);
  to.port = parts.nPort;
  to.path.assign(path, parts.dwUrlPathLength);
  to.path.append(extra, parts.dwExtraInfoLength);
  if (to.path.empty() || to.path[0] != L'/') to.path.insert(0, L"/");
  // As for the first address: no host that is not a host name.
  if (!IsHostName(std::wstring_view(to.host))) return std::nullopt;
  to.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return to;
}

}  // namespace

std::shared_ptr<PendingRequest> THTTPGetThread::OpenRequest(const RequestTarget& where,
                                                            const std::string& body) {
  auto pending = std::make_shared<PendingRequest>();
  InternetHandles& h = pending->h;
  std::wstring agent = Widen(Agent);
  h.internet = InternetOpenW(agent.empty() ? nullptr : agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG,
                             nullptr, nullptr, 0);
  if (!h.internet) return nullptr;
  InternetSetStatusCallbackW(h.internet, RequestStatus);
  h.connection = InternetConnectW(h.internet, where.host.c_str(), where.port, Widen(UserName).c_str(),
                                  Widen(Password).c_str(), INTERNET_SERVICE_HTTP, 0, 0);
  if (!h.connection) return nullptr;
  // This Wine takes the send and receive time-outs from the connection, not the Internet handle.
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionW(h.connection, option, &Timeout, sizeof Timeout);
  // The client writes the header's name itself; the list holds only the types.
  std::wstring accept = Widen(AcceptTypes);
  const wchar_t* acceptList[] = {accept.c_str(), nullptr};
  // The client would follow redirects without end; the worker follows them itself.
  DWORD flags = (UseCache ? 0 : INTERNET_FLAG_RELOAD) | INTERNET_FLAG_NO_AUTO_REDIRECT |
                (where.secure ? INTERNET_FLAG_SECURE : 0);
  h.request = HttpOpenRequestW(h.connection, body.empty() ? L"GET" : L"POST", where.path.c_str(),
                               L"HTTP/1.0", Widen(Referer).c_str(),
                               accept.empty() ? nullptr : acceptList, flags,
                               reinterpret_cast<DWORD_PTR>(pending.get()));
  if (!h.request) return nullptr;
  pending->body = body;
  if (!SendRequest(pending)) return nullptr;
  // The status is needed only until a connection stood; without the callback reads cost less.
  InternetSetStatusCallbackW(h.request, nullptr);
  return pending;
}

// Every early return leaves Success false; the handles and the file close on the way out.
void THTTPGetThread::Transfer() {
  ParsedURL parsed = ParseURL(URL);
  if (Terminated() || !parsed.Valid) return;
  RequestTarget where{Widen(parsed.Host), static_cast<INTERNET_PORT>(parsed.Port), Widen(parsed.Path)};
  std::string body = PostQuery;
  std::shared_ptr<PendingRequest> pending;
  DWORD status = 0;
  for (int redirects = 0;; ++redirects) {
    pending = OpenRequest(where, body);
    if (!pending || Terminated()) return;
    DWORD statusSize = sizeof status;
    if (!HttpQueryInfoW(pending->h.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &statusSize, nullptr))
      return;
    if (!IsRedirect(status)) break;
    if (redirects == kMaxRedirects) return;
    std::optional<RequestTarget> next = RedirectTarget(pending->h.request, where);
    if (!next) return;
    // As browsers do: only 307 and 308 repeat a form's post.
    if (status != 307 && status != 308) body.clear();
    where = *next;
  }
  // An error page is not the resource that was asked for.
  if (status < 200 || status > 299) return;
  HINTERNET request = pending->h.request;
  // This client takes a chunk size that it cannot read for the body's end, so a body in chunks
  // (or in any transfer coding) has no end that can be trusted.
  wchar_t coding[64];
  DWORD codingSize = sizeof coding;
  bool coded = HttpQueryInfoW(request, HTTP_QUERY_TRANSFER_ENCODING, coding, &codingSize, nullptr) ||
               GetLastError() == ERROR_INSUFFICIENT_BUFFER;

  wchar_t lengthText[kLengthBufferBytes / sizeof(wchar_t)];
  DWORD lengthSize = kLengthBufferBytes, index = 0;
  bool announced =
      HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, lengthText, &lengthSize, &index);
  if (Terminated()) return;
  if (!announced && BinaryData) return;
  if (announced) {
    std::optional<int> length = ParseLength({lengthText, lengthSize / sizeof(wchar_t)});
    if (!length) return;
    FileSize = *length;
  }
  TotalRead = 0;

  TargetFile file(file_);
  if (ToFile && !file.Create(FileName)) return;
  StringResult.clear();

  char buffer[kReadSize];
  // Bytes that the client holds ready: reading no more than those never waits, and a read that
  // waited would fill its whole buffer first, holding back the bytes of a slow server.
  DWORD available = 0;
  bool complete = false;
  while (!Terminated()) {
    if (available == 0) {
      // The server may be quiet now: what arrived goes to the file and to the owner first.
      if (!file.Flush()) return;
      HandOverProgress();
      if (Terminated()) return;
      // Waits for the server; fails when the receive time-out passed.
      if (!InternetQueryDataAvailable(request, &available, 0, 0)) return;
      if (available == 0) {
        complete = true;
        break;
      }
    }
    BytesRead = 0;
    if (!InternetReadFile(request, buffer, std::min(available, kReadSize), &BytesRead)) return;
    if (BytesRead == 0) {
      complete = true;
      break;
    }
    available -= std::min(available, BytesRead);
    if (BytesRead > static_cast<DWORD>(INT_MAX - TotalRead)) return;
    if (ToFile) {
      if (!file.Write(buffer, BytesRead)) return;
    } else {
      StringResult.append(buffer, BytesRead);
    }
    TotalRead += static_cast<int>(BytesRead);
    if (Progress) pendingProgress_.emplace_back(FileSize, TotalRead);
  }
  if (!complete || coded) return;
  // Without a length the body ends where the connection does, and this client reports a broken
  // connection as a clean end: only an empty body is sure.
  if (!announced) FileSize = 0;
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

void THTTPGetThread::HandOverProgress() {
  if (pendingProgress_.empty()) return;
  Synchronize([this] { UpdateProgress(); });
  pendingProgress_.clear();
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

void THTTPGet::Discard() {
  if (!Worker) return;
  Worker->Terminate();
  Worker->DiscardFile();
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

void FinishTransfers(DWORD limitMs) {
  auto& app = ui::Application::Instance();
  ULONGLONG end = GetTickCount64() + limitMs;
  while (THTTPGetThread::Alive() > 0 && GetTickCount64() < end) {
    app.CheckSynchronize();
    Sleep(5);
  }
}

}  // namespace updater
