// The download component against a server inside the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "support/http_server.h"
#include "platform/error.h"
#include "platform/files.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "updater/http_get.h"
#include "support/wait.h"

using testing_support::HttpReply;
using testing_support::WaitFor;
using testing_support::ReadFileBytes;
using updater::THTTPGet;

namespace {

// Every event of one component, in order.
struct Recorder {
  std::vector<std::pair<int, int>> progress;  // TotalSize, Readed
  std::vector<std::string> outcomes;          // "done <file> <size>" or "error"

  void Attach(THTTPGet& get) {
    get.OnProgress = [this](ui::Object*, int total, int readed) { progress.emplace_back(total, readed); };
    get.OnDoneFile = [this](ui::Object*, const std::string& file, int size) {
      outcomes.push_back("done " + file + " " + std::to_string(size));
    };
    get.OnError = [this](ui::Object*) { outcomes.push_back("error"); };
  }
};

class HTTPGetTest : public ::testing::Test {
 protected:
  void SetUp() override { recorder.Attach(get); }
  // Runs one transfer to its end.
  void Run() {
    get.GetFile();
    ASSERT_TRUE(WaitFor([&] { return !get.Busy(); }));
  }

  testing_support::HttpServer server;
  testing_support::TempDir dir;
  THTTPGet get{"HTTPGet1"};
  Recorder recorder;
};

std::string Body(size_t size) {
  std::string body(size, '\0');
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 7919 + i / 251) & 0xFF);
  return body;
}

int UnusedPort() {
  testing_support::HttpServer closed;
  return closed.Port();
}

struct TransferCase {
  const char* name;
  HttpReply reply;
  bool binaryData = false;
  bool done = false;  // OnDoneFile, else OnError
  // What the target file holds afterwards; it held "previous" before.
  std::string file;
  const char* path = "/file.bin";  // what follows the host in the address
};

// The request target that an address ending in this path asks for.
std::string Target(const std::string& path) { return path[0] == '/' ? path : "/" + path; }

HttpReply Reply(std::string body) {
  HttpReply r;
  r.body = std::move(body);
  return r;
}

HttpReply Drip(std::string body, size_t bytes, DWORD pauseMs) {
  HttpReply r = Reply(std::move(body));
  r.dripBytes = bytes;
  r.dripPauseMs = pauseMs;
  return r;
}

std::vector<TransferCase> TransferCases() {
  const std::string body = Body(5000);
  std::vector<TransferCase> cases;
  cases.push_back({"body with its length", Reply(body), false, true, body});
  cases.push_back({"length 0", Reply(""), false, true, ""});
  HttpReply noLength = Reply(body);
  noLength.omitLength = true;
  cases.push_back({"no length, binary data", noLength, true, false, "previous"});
  // Without a length nothing tells a whole body from a cut one.
  cases.push_back({"no length, body", noLength, false, false, body});
  HttpReply noLengthEmpty = Reply("");
  noLengthEmpty.omitLength = true;
  cases.push_back({"no length, empty body", noLengthEmpty, false, true, ""});
  HttpReply shorter = Reply(body.substr(0, 3000));
  shorter.length = "5000";
  cases.push_back({"shorter than announced", shorter, false, false, body.substr(0, 3000)});
  HttpReply notANumber = Reply(body);
  notANumber.length = "12ab";
  cases.push_back({"length not a number", notANumber, false, false, "previous"});
  HttpReply notFound = Reply("<html>gone</html>");
  notFound.status = "404 Not Found";
  cases.push_back({"error status", notFound, false, false, "previous"});
  HttpReply serverError = Reply("<html>oops</html>");
  serverError.status = "500 Internal Server Error";
  cases.push_back({"server error status", serverError, false, false, "previous"});
  cases.push_back({"address without a path", Reply(body), false, true, body, ""});
  cases.push_back({"query without a path", Reply(body), false, true, body, "?x=1"});
  return cases;
}

TEST_F(HTTPGetTest, TransfersEndAsTheResponseDeserves) {
  for (const TransferCase& c : TransferCases()) {
    SCOPED_TRACE(c.name);
    THTTPGet one{"HTTPGet1"};
    Recorder events;
    events.Attach(one);
    std::string target = dir / (std::string(c.name) + ".bin");
    testing_support::WriteFileBytes(target, "previous");
    server.Serve(Target(c.path), c.reply);
    one.URL = server.Url(c.path);
    one.FileName = target;
    one.BinaryData = c.binaryData;
    one.GetFile();
    ASSERT_TRUE(WaitFor([&] { return !one.Busy(); }));

    std::string expected = c.done ? "done " + target + " " + std::to_string(c.file.size()) : "error";
    EXPECT_EQ(events.outcomes, std::vector<std::string>{expected});
    EXPECT_EQ(ReadFileBytes(target), c.file);
    int last = 0;
    for (auto [total, readed] : events.progress) {
      EXPECT_EQ(total, c.reply.omitLength ? 0 : std::atoi(c.reply.length.value_or(std::to_string(c.reply.body.size())).c_str()));
      EXPECT_GT(readed, last) << "one event per chunk, rising";
      last = readed;
    }
    if (c.done) {
      EXPECT_EQ(last, static_cast<int>(c.file.size()));
    }
  }
}

// The Internet client may stop at the announced length, and then the excess never arrives; when
// it does arrive, the transfer fails. Never does a file of another size count as done.
TEST_F(HTTPGetTest, ABodyLongerThanAnnouncedIsNeverDoneWithMoreThanTheLength) {
  std::string body = Body(5000);
  HttpReply longer = Reply(body);
  longer.length = "3000";
  server.Serve("/file.bin", longer);
  get.URL = server.Url("/file.bin");
  get.FileName = dir / "longer.bin";
  for (int round = 0; round < 5; ++round) {
    recorder.outcomes.clear();
    Run();
    std::string kept = ReadFileBytes(get.FileName);
    if (recorder.outcomes == std::vector<std::string>{"error"}) {
      EXPECT_EQ(kept, body);
    } else {
      EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"done " + get.FileName + " 3000"});
      EXPECT_EQ(kept, body.substr(0, 3000));
    }
  }
}

TEST_F(HTTPGetTest, AResetMidBodyFailsAndKeepsWhatArrived) {
  std::string body = Body(200000);
  HttpReply reply = Reply(body);
  reply.resetAfter = 100000;
  reply.dripBytes = 10000;
  server.Serve("/file.bin", reply);
  get.URL = server.Url("/file.bin");
  get.FileName = dir / "reset.bin";
  Run();
  EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"error"});
  std::string kept = ReadFileBytes(get.FileName);
  EXPECT_GT(kept.size(), 0u);
  EXPECT_LE(kept.size(), 100000u);
  EXPECT_EQ(kept, body.substr(0, kept.size()));
}

// The file holds the first bytes of the body and nothing else.
::testing::AssertionResult IsStartOf(const std::string& kept, const std::string& body) {
  if (kept.size() > body.size())
    return ::testing::AssertionFailure() << kept.size() << " bytes, the body has " << body.size();
  auto differ = std::mismatch(kept.begin(), kept.end(), body.begin());
  if (differ.first != kept.end())
    return ::testing::AssertionFailure() << "byte " << (differ.first - kept.begin()) << " of "
                                         << kept.size() << " differs from the body's";
  return ::testing::AssertionSuccess();
}

// Hex digits of a chunk size.
std::string Hex(size_t n) {
  char text[32];
  std::snprintf(text, sizeof text, "%zx", n);
  return text;
}

// Responses that the Internet client hands over as a body that ended cleanly, a body in chunks
// (whose end it cannot vouch for, since a bad chunk size ends it too), or a redirect that it would
// follow for ever: each fails, and the file holds a true start of the body, or what it held before
// when no body came.
TEST_F(HTTPGetTest, BrokenOrEndlessResponsesFail) {
  const std::string body = Body(300000);
  const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  auto badSize = [&](const std::string& size) {
    HttpReply r;
    // The client may take what follows a size it cannot read as data, so only body bytes follow.
    r.raw = chunked + "3e8\r\n" + body.substr(0, 1000) + "\r\n" + size + "\r\n" + body.substr(1000, 2000);
    return r;
  };
  HttpReply reset = Reply(body);
  reset.omitLength = true;
  reset.resetAfter = 100000;
  reset.dripBytes = 10000;
  HttpReply cutChunk;
  cutChunk.raw = chunked + Hex(600000) + "\r\n" + body;
  HttpReply loop;
  loop.status = "302 Found";
  loop.headers = {"Location: /file.bin"};
  // A chunked body's end is where this client stops reading chunks, which a bad size also does.
  HttpReply firstSizeBad;
  // (Connection: close, or the client would take the unread rest for the next request's reply.)
  firstSizeBad.raw =
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\nzz\r\n" + body;
  HttpReply wholeChunks;
  wholeChunks.raw = chunked + "3e8\r\n" + body.substr(0, 1000) + "\r\n0\r\n\r\n";
  HttpReply noChunks;
  noChunks.raw = chunked + "0\r\n\r\n";
  HttpReply chunksAndLength;
  chunksAndLength.raw =
      "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nTransfer-Encoding: chunked\r\n\r\n3e8\r\n" +
      body.substr(0, 1000) + "\r\n0\r\n\r\n";
  HttpReply noStatusLine;
  noStatusLine.raw = body.substr(0, 5000);
  HttpReply garbageStatus;
  garbageStatus.raw = "GARBAGE LINE\r\n\r\n" + body.substr(0, 5000);
  // What the file holds afterwards.
  enum Keeps {
    BodyStart,
    // The client hands over some bytes after a size that it misreads, framing among them.
    FirstChunkFirst,
    Previous,
    WhatCame,
    FirstChunk,
    Nothing,
  };
  struct Case {
    const char* name;
    HttpReply reply;
    Keeps keeps;
  } cases[] = {
      {"no length, reset mid-body", reset, BodyStart},
      {"chunk size zz", badSize("zz"), BodyStart},
      {"chunk size -10", badSize("-10"), FirstChunkFirst},
      {"chunk size FFFFFFFFFFFFFFFFFFFF", badSize("FFFFFFFFFFFFFFFFFFFF"), BodyStart},
      {"chunk of 600000 bytes cut at 300000", cutChunk, BodyStart},
      {"first chunk size zz", firstSizeBad, Nothing},
      {"whole chunks", wholeChunks, FirstChunk},
      {"no chunk but the last", noChunks, Nothing},
      {"whole chunks and a length", chunksAndLength, FirstChunk},
      {"redirect to itself", loop, Previous},
      // The client reads such a reply as a body and drops a few bytes of it.
      {"no status line", noStatusLine, WhatCame},
      {"garbage status line", garbageStatus, WhatCame},
  };
  get.FileName = dir / "target.bin";
  get.URL = server.Url("/file.bin");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorder.outcomes.clear();
    testing_support::WriteFileBytes(get.FileName, "previous");
    server.Serve("/file.bin", c.reply);
    size_t requestsBefore = server.Requests().size();
    Run();
    EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"error"});
    std::string kept = ReadFileBytes(get.FileName);
    switch (c.keeps) {
      case BodyStart:
        EXPECT_GT(kept.size(), 0u);
        EXPECT_TRUE(IsStartOf(kept, body));
        break;
      case FirstChunkFirst:
        EXPECT_GE(kept.size(), 1000u);
        EXPECT_TRUE(IsStartOf(kept.substr(0, 1000), body));
        break;
      case Previous:
        EXPECT_EQ(kept, "previous");
        EXPECT_EQ(server.Requests().size() - requestsBefore, 11u) << "the first request and 10 redirects";
        break;
      case WhatCame:
        EXPECT_NE(kept, "previous");
        break;
      case FirstChunk:
        EXPECT_EQ(kept, body.substr(0, 1000));
        break;
      case Nothing:
        EXPECT_EQ(kept, "");
        break;
    }
  }
}

// While a server trickles or stalls, every byte that the progress reported is in the file, and an
// abort ends the transfer with what arrived. A worker that waits on a stalled server sees the abort
// only when its wait gives up (this WinInet does not end a waiting read), so the time-out is short.
TEST_F(HTTPGetTest, BytesFromASlowServerAreOnDiskAsTheyAreReported) {
  const std::string body = Body(100000);
  get.Timeout = 3000;
  HttpReply trickle = Drip(body, 1, 1000);
  HttpReply stall = Reply(body);
  stall.silentAfter = 50000;
  struct Case {
    const char* name;
    HttpReply reply;
    int wait;  // bytes reported before the file is looked at
  } cases[] = {{"a byte a second", trickle, 2}, {"quiet after 50000 bytes", stall, 50000}};
  get.FileName = dir / "target.bin";
  get.URL = server.Url("/slow.bin");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorder.outcomes.clear();
    recorder.progress.clear();
    server.Serve("/slow.bin", c.reply);
    get.GetFile();
    ASSERT_TRUE(WaitFor(
        [&] { return !recorder.progress.empty() && recorder.progress.back().second >= c.wait; }));
    int reported = recorder.progress.back().second;
    std::string kept = ReadFileBytes(get.FileName);
    EXPECT_GE(kept.size(), static_cast<size_t>(reported));
    EXPECT_TRUE(IsStartOf(kept, body));
    get.Abort();
    ASSERT_TRUE(WaitFor([&] { return !get.Busy(); }));
    EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"error"});
    kept = ReadFileBytes(get.FileName);
    EXPECT_GE(kept.size(), static_cast<size_t>(reported));
    EXPECT_TRUE(IsStartOf(kept, body));
  }
}

// Ten redirects, to a path or to a whole address, are followed; an eleventh is not.
TEST_F(HTTPGetTest, RedirectsAreFollowedTenTimes) {
  for (int hop = 0; hop < 11; ++hop) {
    HttpReply r;
    r.status = hop % 2 ? "301 Moved Permanently" : "302 Found";
    std::string next = "/hop" + std::to_string(hop + 1);
    r.headers = {"Location: " + (hop % 3 ? next : server.Url(next))};
    server.Serve("/hop" + std::to_string(hop), r);
  }
  server.Serve("/hop11", Reply("arrived"));
  get.FileName = dir / "target.bin";
  for (const char* start : {"/hop1", "/hop0"}) {
    SCOPED_TRACE(start);
    recorder.outcomes.clear();
    testing_support::WriteFileBytes(get.FileName, "previous");
    get.URL = server.Url(start);
    Run();
    bool ten = std::string(start) == "/hop1";
    EXPECT_EQ(recorder.outcomes,
              std::vector<std::string>{ten ? "done " + get.FileName + " 7" : "error"});
    EXPECT_EQ(ReadFileBytes(get.FileName), ten ? "arrived" : "previous");
  }
}

TEST_F(HTTPGetTest, AServerThatIsNotThereIsAnErrorAndTheFileIsUntouched) {
  get.URL = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/file.bin";
  get.FileName = dir / "target.bin";
  testing_support::WriteFileBytes(get.FileName, "previous");
  Run();
  EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"error"});
  EXPECT_EQ(ReadFileBytes(get.FileName), "previous");
}

// Addresses that the component does not speak end in OnError before any request, and the file
// stays as it was. (Without a scheme the address once reached the server as plain HTTP.)
TEST_F(HTTPGetTest, AnAddressItDoesNotSpeakFetchesNothing) {
  server.Serve("/file.bin", Reply("content"));
  const std::string hostAndPath = server.Host() + "/file.bin";
  struct Case {
    std::string url;
    bool fetched;
  } cases[] = {
      {"https://" + hostAndPath, false},
      {"ftp://" + hostAndPath, false},
      {"file:///C:/file.bin", false},
      {hostAndPath, false},
      {"HTTP://" + hostAndPath, true},
  };
  get.FileName = dir / "target.bin";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    recorder.outcomes.clear();
    testing_support::WriteFileBytes(get.FileName, "previous");
    size_t requestsBefore = server.Requests().size();
    get.URL = c.url;
    Run();
    EXPECT_EQ(recorder.outcomes,
              std::vector<std::string>{c.fetched ? "done " + get.FileName + " 7" : "error"});
    EXPECT_EQ(ReadFileBytes(get.FileName), c.fetched ? "content" : "previous");
    EXPECT_EQ(server.Requests().size() - requestsBefore, c.fetched ? 1u : 0u);
  }
}

TEST_F(HTTPGetTest, AFileThatCannotBeCreatedIsAnError) {
  server.Serve("/file.bin", Reply("content"));
  get.URL = server.Url("/file.bin");
  for (std::string name : {dir / "missing\\target.bin", std::string()}) {
    SCOPED_TRACE(name);
    recorder.outcomes.clear();
    get.FileName = name;
    Run();
    EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"error"});
  }
  EXPECT_FALSE(platform::DirectoryExists(dir / "missing"));
}

TEST(ParseURL, HostPortAndPath) {
  struct Case {
    const char* url;
    const char* host;
    int port;
    const char* path;
    bool valid;
  } cases[] = {
      {"HTTP://Host/dir/v.ini", "Host", 80, "/dir/v.ini", true},
      {"http://host", "host", 80, "/", true},
      {"http://host:8080/x", "host", 8080, "/x", true},
      {"http://host/a?b=c:d#e", "host", 80, "/a?b=c:d", true},
      {"http://host/thenc.zip#../../etc", "host", 80, "/thenc.zip", true},
      {"http://host:/x", "host", 80, "/x", true},
      {"http://host:http/x", "host", 0, "/x", false},
      {"http://host:70000/x", "host", 0, "/x", false},
      {"http:///x", "", 80, "/x", false},
      {"http://host:8080?x=1", "host", 8080, "/?x=1", true},
      {"http://host?x=1", "host", 80, "/?x=1", true},
      {"http://host#a", "host", 80, "/", true},
      {"http://host#a/b", "host", 80, "/", true},
      {"http://host?x=1#y", "host", 80, "/?x=1", true},
      {"http://up-dates_1.Host.example/x", "up-dates_1.Host.example", 80, "/x", true},
      // No host name holds these: they would go raw into the request line and the Host header.
      {"http://up dates/x", "up dates", 80, "/x", false},
      {"http://host\t/x", "host\t", 80, "/x", false},
      {"http://ho\x01st/x", "ho\x01st", 80, "/x", false},
      {"http://host\x7f/x", "host\x7f", 80, "/x", false},
      {"http://host\r\nX-A 1/x", "host\r\nX-A 1", 80, "/x", false},
      {"http://user@host/x", "user@host", 80, "/x", false},
      {"http://user:pw@host/x", "user", 0, "/x", false},
      {"http://host:80@evil/x", "host", 0, "/x", false},
      {"http://h\xC3\xB3st/x", "h\xC3\xB3st", 80, "/x", false},
      {"http://h%41st/x", "h%41st", 80, "/x", false},
      // Only plain HTTP is spoken: another scheme, or none, names no usable address.
      {"https://host:8443/thenc.zip", "", 80, "/", false},
      {"HTTPS://host/thenc.zip", "", 80, "/", false},
      {"ftp://host/thenc.zip", "", 80, "/", false},
      {"file:///C:/thenc.zip", "", 80, "/", false},
      {"host/v.ini", "", 80, "/", false},
      {"host:8080/v.ini", "", 80, "/", false},
      {"http:/host/v.ini", "", 80, "/", false},
      {" http://host/v.ini", "", 80, "/", false},
      {"", "", 80, "/", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    updater::ParsedURL p = updater::ParseURL(c.url);
    EXPECT_EQ(p.Host, c.host);
    EXPECT_EQ(p.Path, c.path);
    EXPECT_EQ(p.Valid, c.valid);
    EXPECT_EQ(p.Port, c.port);
  }
}

TEST_F(HTTPGetTest, TheRequestCarriesTheComponentsSettings) {
  server.Serve("/form?x=1", Reply("ok"));
  get.URL = server.Url("/form?x=1");
  get.FileName = dir / "reply.txt";
  get.Referer = "http://tarnholm.example/start";
  get.AcceptTypes = "text/plain";
  Run();
  get.Agent = "";
  get.PostQuery = "a=1&b=ł";
  Run();
  EXPECT_EQ(recorder.outcomes.size(), 2u);
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, "/form?x=1");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Brennick HTTPGet");
  EXPECT_EQ(requests[0].Header("Accept"), "text/plain");
  EXPECT_EQ(requests[0].Header("Referer"), "http://tarnholm.example/start");
  EXPECT_EQ(requests[0].body, "");
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_EQ(requests[1].Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(requests[1].body, "a=1&b=ł");
  EXPECT_EQ(requests[1].Header("User-Agent"), "");
}

// What the server receives for each address: the path and query without the fragment, and one
// Accept header that holds the accepted types, after the first request and after a redirect.
TEST_F(HTTPGetTest, TheRequestCarriesOneAcceptHeaderAndNoFragment) {
  for (const char* target : {"/thenc.zip", "/dir/thenc.zip?v=2", "/", "/?v=2"})
    server.Serve(target, Reply("package"));
  HttpReply moved;
  moved.status = "302 Found";
  moved.headers = {"Location: /dir/thenc.zip?v=2#../../etc"};
  server.Serve("/moved", moved);
  struct Case {
    const char* path;  // what follows the host in the address
    std::vector<std::string> targets;
  } cases[] = {
      {"/thenc.zip#../../etc", {"/thenc.zip"}},
      {"/dir/thenc.zip?v=2#top", {"/dir/thenc.zip?v=2"}},
      {"#../../etc", {"/"}},
      {"?v=2#x", {"/?v=2"}},
      {"/thenc.zip#", {"/thenc.zip"}},
      {"/moved#here", {"/moved", "/dir/thenc.zip?v=2"}},
  };
  get.FileName = dir / "thenc.zip";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    recorder.outcomes.clear();
    size_t before = server.Requests().size();
    get.URL = server.Url(c.path);
    Run();
    EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"done " + get.FileName + " 7"});
    auto requests = server.Requests();
    ASSERT_EQ(requests.size() - before, c.targets.size());
    for (size_t i = 0; i < c.targets.size(); ++i) {
      const std::string& raw = requests[before + i].raw;
      EXPECT_EQ(raw.substr(0, raw.find("\r\n")), "GET " + c.targets[i] + " HTTP/1.0");
      EXPECT_EQ(raw.find('#'), std::string::npos) << raw;
      size_t accepts = 0;
      for (size_t at = raw.find("\r\nAccept:"); at != std::string::npos; at = raw.find("\r\nAccept:", at + 1))
        ++accepts;
      EXPECT_EQ(accepts, 1u) << raw;
      EXPECT_EQ(requests[before + i].Header("Accept"), "*/*") << raw;
    }
  }
}

TEST_F(HTTPGetTest, GetFileWhileBusyStartsNothingAndTheRunningTransferKeepsItsCopies) {
  server.Serve("/slow.bin", Drip(Body(3000), 1000, 50));
  get.URL = server.Url("/slow.bin");
  get.FileName = dir / "first.bin";
  get.GetFile();
  get.FileName = dir / "second.bin";
  get.GetFile();
  ASSERT_TRUE(WaitFor([&] { return !get.Busy(); }));
  EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"done " + (dir / "first.bin") + " 3000"});
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_FALSE(platform::FileExists(dir / "second.bin"));
  // The next start takes the new name.
  Run();
  EXPECT_EQ(ReadFileBytes(dir / "second.bin"), Body(3000));
}

TEST_F(HTTPGetTest, GetFileFromItsOwnDoneOrErrorHandlerIsIgnored) {
  server.Serve("/file.bin", Reply("content"));
  get.FileName = dir / "target.bin";
  int handlers = 0;
  auto startAgain = [&] {
    ++handlers;
    EXPECT_TRUE(get.Busy());
    get.GetFile();
  };
  get.OnDoneFile = [&](ui::Object*, const std::string&, int) { startAgain(); };
  get.OnError = [&](ui::Object*) { startAgain(); };
  for (std::string path : {"/file.bin", "/missing.bin"}) {
    get.URL = server.Url(path);
    Run();
  }
  EXPECT_EQ(handlers, 2);
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(HTTPGetTest, AbortEndsTheTransferWithAnError) {
  server.Serve("/file.bin", Reply(Body(5000)));
  get.URL = server.Url("/file.bin");
  get.FileName = dir / "target.bin";
  get.GetFile();
  get.Abort();
  ASSERT_TRUE(WaitFor([&] { return !get.Busy(); }));
  EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"error"});
  get.Abort();  // idle: nothing happens
  EXPECT_EQ(recorder.outcomes.size(), 1u);
}

TEST_F(HTTPGetTest, AnAbortAfterTheLastChunkStillWins) {
  server.Serve("/file.bin", Reply(Body(1500)));
  get.URL = server.Url("/file.bin");
  get.FileName = dir / "target.bin";
  get.OnProgress = [&](ui::Object*, int total, int readed) {
    if (readed == total) get.Abort();
  };
  Run();
  EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"error"});
  EXPECT_EQ(ReadFileBytes(get.FileName), Body(1500));
}

TEST_F(HTTPGetTest, WithWaitThreadGetFileReturnsAfterTheCompletion) {
  server.Serve("/slow.bin", Drip(Body(3000), 1000, 20));
  get.URL = server.Url("/slow.bin");
  get.FileName = dir / "target.bin";
  get.WaitThread = true;
  get.GetFile();
  EXPECT_FALSE(get.Busy());
  EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"done " + get.FileName + " 3000"});
  EXPECT_EQ(recorder.progress.back(), std::make_pair(3000, 3000));
}

TEST_F(HTTPGetTest, AFailingDoneHandlerShowsTheErrorBoxAndLeavesTheComponentIdle) {
  testing_support::ScriptedDialogs dialogs;
  server.Serve("/file.bin", Reply("content"));
  get.URL = server.Url("/file.bin");
  get.FileName = dir / "target.bin";
  get.OnDoneFile = [](ui::Object*, const std::string&, int) { throw platform::Error("No room"); };
  Run();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(dialogs.boxes[0].text, "No room");
  Run();
  EXPECT_EQ(server.Requests().size(), 2u);
}

// The component goes at every moment of a slow transfer: before the request, while the body
// drips in, and from inside its own progress event.
TEST_F(HTTPGetTest, ADestroyedComponentFiresNothingAndItsWorkerEnds) {
  server.Serve("/slow.bin", Drip(Body(100000), 1000, 5));
  int events = 0;
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE(round);
    auto doomed = std::make_unique<THTTPGet>("HTTPGet2");
    doomed->URL = server.Url("/slow.bin");
    doomed->FileName = dir / ("slow" + std::to_string(round) + ".bin");
    int progress = 0;
    doomed->OnProgress = [&](ui::Object*, int, int) {
      ++events;
      if (++progress == 3 && round % 3 == 2) doomed.reset();
    };
    doomed->OnDoneFile = [&](ui::Object*, const std::string&, int) { ++events; };
    doomed->OnError = [&](ui::Object*) { ++events; };
    doomed->GetFile();
    if (round % 3 == 1) {
      ASSERT_TRUE(WaitFor([&] { return progress > 0; }));
    } else if (round % 3 == 2) {
      ASSERT_TRUE(WaitFor([&] { return !doomed; }));
    }
    doomed.reset();
    int before = events;
    ASSERT_TRUE(WaitFor([] { return updater::THTTPGetThread::Alive() == 0; }));
    EXPECT_EQ(events, before) << "no event after the component went";
    events = 0;
  }
}

// A server that falls silent, before its answer or in the middle of the body, ends the transfer
// once the time-out has passed; what arrived stays, and the next transfer works.
TEST_F(HTTPGetTest, ASilentServerEndsTheTransferAfterTheTimeout) {
  const std::string body = Body(5000);
  HttpReply silent = Reply(body);
  silent.silent = true;
  HttpReply midBody = Reply(body);
  midBody.silentAfter = 3000;
  struct Case {
    const char* name;
    HttpReply reply;
    std::string file;
  } cases[] = {{"no answer", silent, "previous"}, {"silent mid-body", midBody, body.substr(0, 3000)}};
  get.Timeout = 500;
  get.FileName = dir / "target.bin";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorder.outcomes.clear();
    testing_support::WriteFileBytes(get.FileName, "previous");
    server.Serve("/silent.bin", c.reply);
    get.URL = server.Url("/silent.bin");
    get.GetFile();
    // Far below the usual time-out: only the component's own one can end the wait in time.
    ASSERT_TRUE(WaitFor([&] { return !get.Busy(); }, 15000));
    EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"error"});
    EXPECT_EQ(ReadFileBytes(get.FileName), c.file);

    recorder.outcomes.clear();
    server.Serve("/silent.bin", Reply(body));
    Run();
    EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"done " + get.FileName + " 5000"});
  }
}

// A listener that takes no connection and whose queue is full: a further connection never stands.
class FullListener {
 public:
  FullListener() {
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    listen(listener_, 0);
    int size = sizeof addr;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &size);
    port_ = ntohs(addr.sin_port);
    fd_set standing;
    FD_ZERO(&standing);
    for (SOCKET& s : queued_) {
      s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
      u_long nonBlocking = 1;
      ioctlsocket(s, FIONBIO, &nonBlocking);
      connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
      FD_SET(s, &standing);
    }
    // The queue is full once a connection stands in it.
    timeval limit{10, 0};
    select(0, nullptr, &standing, nullptr, &limit);
  }
  ~FullListener() {
    for (SOCKET s : queued_) closesocket(s);
    closesocket(listener_);
  }
  int Port() const { return port_; }

 private:
  SOCKET listener_;
  SOCKET queued_[4];
  int port_ = 0;
};

TEST_F(HTTPGetTest, AConnectionThatNeverStandsEndsAfterTheTimeout) {
  FullListener full;
  get.Timeout = 500;
  get.URL = "http://127.0.0.1:" + std::to_string(full.Port()) + "/file.bin";
  get.FileName = dir / "target.bin";
  testing_support::WriteFileBytes(get.FileName, "previous");
  get.GetFile();
  // Far below the system's own connect time-out of about two minutes.
  ASSERT_TRUE(WaitFor([&] { return !get.Busy(); }, 15000));
  EXPECT_EQ(recorder.outcomes, std::vector<std::string>{"error"});
  EXPECT_EQ(ReadFileBytes(get.FileName), "previous");
}

// However a slow transfer ends early, the file holds at least every byte that the last progress
// event reported, and those are the start of the body.
TEST_F(HTTPGetTest, AnAbortedOrDestroyedTransferKeepsEveryByteItRead) {
  const std::string body = Body(500000);
  server.Serve("/slow.bin", Drip(body, 1000, 2));
  enum class End { Abort, Destroy, DestroyInItsProgressEvent };
  struct Case {
    const char* name;
    End end;
    int after;  // bytes reported before the transfer ends
  } cases[] = {
      {"abort before the first 64 KB", End::Abort, 20000},
      {"abort after the first 64 KB", End::Abort, 100000},
      {"destroy before the first 64 KB", End::Destroy, 20000},
      {"destroy after the first 64 KB", End::Destroy, 100000},
      {"destroy in its progress event, before the first 64 KB", End::DestroyInItsProgressEvent, 20000},
      {"destroy in its progress event, after the first 64 KB", End::DestroyInItsProgressEvent, 100000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto one = std::make_unique<THTTPGet>("HTTPGet2");
    one->URL = server.Url("/slow.bin");
    one->FileName = dir / (std::string(c.name) + ".bin");
    const std::string file = one->FileName;
    int reported = 0;
    std::vector<std::string> outcomes;
    one->OnProgress = [&](ui::Object*, int, int readed) {
      reported = readed;
      if (c.end == End::DestroyInItsProgressEvent && readed >= c.after) one.reset();
    };
    one->OnDoneFile = [&](ui::Object*, const std::string&, int) { outcomes.push_back("done"); };
    one->OnError = [&](ui::Object*) { outcomes.push_back("error"); };
    one->GetFile();
    ASSERT_TRUE(WaitFor([&] { return reported >= c.after; }));
    if (c.end == End::Abort) {
      one->Abort();
      ASSERT_TRUE(WaitFor([&] { return !one->Busy(); }));
      EXPECT_EQ(outcomes, std::vector<std::string>{"error"});
    } else {
      one.reset();
      ASSERT_TRUE(WaitFor([] { return updater::THTTPGetThread::Alive() == 0; }));
      EXPECT_TRUE(outcomes.empty());
    }
    std::string kept = ReadFileBytes(file);
    EXPECT_GE(kept.size(), static_cast<size_t>(reported));
    EXPECT_LT(kept.size(), body.size());
    EXPECT_EQ(kept, body.substr(0, kept.size()));
  }
}

// The worker's string mode, which no component operation starts: the body becomes the result.
TEST_F(HTTPGetTest, TheWorkersStringModeCollectsTheBody) {
  server.Serve("/text", Reply("Zażółć"));
  auto worker = std::make_shared<updater::THTTPGetThread>(
      "*/*", "agent", server.Url("/text"), "", "", "", "", "", false, false, nullptr, false,
      std::make_shared<updater::HTTPGetLink>(updater::HTTPGetLink{nullptr}));
  bool ended = false;
  worker->OnTerminate = [&] { ended = true; };
  worker->Start();
  ASSERT_TRUE(WaitFor([&] { return ended; }));
  EXPECT_TRUE(worker->Success);
  EXPECT_EQ(worker->StringResult, "Zażółć");
}

}  // namespace
