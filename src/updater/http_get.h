// A non-visual component that downloads one HTTP resource at a time into a file, on a worker
// thread of its own, and reports progress and the outcome through events that always run on the
// user-interface thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "ui/thread.h"
#include "ui/types.h"

namespace updater {

using TOnProgressEvent = std::function<void(ui::Object* Sender, int TotalSize, int Readed)>;
using TOnDoneFileEvent =
    std::function<void(ui::Object* Sender, const std::string& FileName, int FileSize)>;
using TOnDoneStringEvent = std::function<void(ui::Object* Sender, const std::string& Result)>;

// How long connecting, sending and each receive may wait for a silent server.
constexpr DWORD kTimeoutMs = 30000;

// Where a request goes: "http://" (any letter case), the host, an optional ":port", then the path
// from the first "/". A fragment ("#" and what follows) is the reader's own and is never sent. The
// host and port end at the first "/" or "?"; without a path the request asks for "/" followed by
// the query, if any. No port means 80. An address without "http://" (another scheme, or none),
// with a host that holds more than letters, digits, dots, hyphens and underscores, or with a port
// that is not a number from 1 to 65535 is unusable: the component speaks plain HTTP only.
struct ParsedURL {
  std::string Host;
  int Port = 80;
  std::string Path = "/";
  bool Valid = true;
};
ParsedURL ParseURL(const std::string& URL);

class THTTPGet;

// What a component and its running worker share. Touched on the user-interface thread only: the
// component clears Owner when it goes, so that a worker outliving it fires nothing.
struct HTTPGetLink {
  THTTPGet* Owner;
};

// Whether a worker holds its target file open, which file it made, and whether the file was
// discarded: the worker and the user-interface thread share it.
struct FileClaim {
  std::mutex mutex;
  bool open = false;
  bool discarded = false;
  // The file that the worker made, told by its volume and index: a file of the same name made
  // by someone else after the worker closed its own is not this one.
  bool made = false;
  DWORD volume = 0;
  ULONGLONG index = 0;
};

// A request and its handles while it is being sent, and where it goes (http_get.cpp).
struct PendingRequest;
struct RequestTarget;

class THTTPGetThread : public ui::Thread {
 public:
  THTTPGetThread(std::string AcceptTypes, std::string Agent, std::string URL, std::string FileName,
                 std::string UserName, std::string Password, std::string PostQuery,
                 std::string Referer, bool BinaryData, bool UseCache, TOnProgressEvent Progress,
                 bool ToFile, std::shared_ptr<HTTPGetLink> Link);
  ~THTTPGetThread() override;

  // Workers not yet freed, in the whole process.
  static int Alive();
  // Deletes the target file that this worker made, also once it has closed it; a file of that name
  // that it has not made is left alone, and none is made after. Called on the user-interface
  // thread.
  void DiscardFile();

  // Copies taken at the start; the worker alone writes its outcome, read after Execute returned.
  const std::string AcceptTypes, Agent, URL, FileName;
  std::string StringResult;
  const std::string UserName, Password, PostQuery, Referer;
  const bool BinaryData, UseCache;
  bool Success = false;
  int FileSize = 0;
  const bool ToFile;
  DWORD BytesRead = 0;
  int TotalRead = 0;
  const TOnProgressEvent Progress;
  DWORD Timeout = kTimeoutMs;

 protected:
  void Execute() override;

 private:
  void Transfer();
  // Opens and sends one request (a POST when body is not empty); none when it failed, was
  // aborted, or no connection stood in time.
  std::shared_ptr<PendingRequest> OpenRequest(const RequestTarget& where, const std::string& body);
  // Sends the request; false when it failed, was aborted, or no connection stood in time.
  bool SendRequest(const std::shared_ptr<PendingRequest>& request);
  // Hands the progress of the chunks received since the last hand-off to the owner, one event
  // per chunk, in one synchronised call.
  void HandOverProgress();
  void UpdateProgress();
  std::shared_ptr<HTTPGetLink> link_;
  FileClaim file_;
  // FileSize and TotalRead after each chunk not yet reported.
  std::vector<std::pair<int, int>> pendingProgress_;
  static std::atomic<int> alive_;
};

class THTTPGet : public ui::Object {
 public:
  explicit THTTPGet(std::string name);
  // Aborts a running transfer and detaches it: no event of this component follows.
  ~THTTPGet() override;

  std::string AcceptTypes = "*/*";
  std::string Agent = "Brennick HTTPGet";
  bool BinaryData = false;
  std::string URL;
  bool UseCache = false;
  std::string FileName;
  std::string UserName;
  std::string Password;
  std::string PostQuery;
  std::string Referer;
  bool WaitThread = false;
  // Milliseconds that connecting, sending and each receive may wait before the transfer fails.
  DWORD Timeout = kTimeoutMs;

  TOnProgressEvent OnProgress;
  TOnDoneFileEvent OnDoneFile;
  TOnDoneStringEvent OnDoneString;
  ui::NotifyEvent OnError;

  // Starts a file transfer unless one is running (then it does nothing). With WaitThread it
  // returns once the transfer's completion has run, dispatching messages meanwhile.
  void GetFile();
  // Makes a running transfer end as failed, at the worker's next stop check.
  void Abort();
  // Aborts, and deletes the target file if the running transfer has made it (from inside the
  // component's OnError too): a file of that name that it has not made (someone else's) stays.
  void Discard();
  bool Busy() const { return Worker != nullptr; }

 private:
  void ThreadDone();

  // The running worker; it frees itself, and is referred to only while it runs.
  THTTPGetThread* Worker = nullptr;
  std::shared_ptr<HTTPGetLink> link_;
};

// Lets the workers still running end, once the components have gone with their window: the
// user-interface thread takes their synchronised calls until none is left or the limit has passed.
// A worker that the limit leaves waiting on its server has every byte it received in its file.
void FinishTransfers(DWORD limitMs);

}  // namespace updater
