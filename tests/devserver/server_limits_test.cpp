// The service under load and abuse: slow and idle clients, oversized bodies and header blocks, large media
// and hostile paths must neither stop it serving others nor blow up its memory.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <tuple>

#include "devserver_fixture.h"

namespace quenmark::devserver::testing {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

/// A plain TCP connection to 127.0.0.1, for what an HTTP client library will not send.
class RawConnection {
 public:
  explicit RawConnection(int port, int flags = 0) : fd_(::socket(AF_INET, SOCK_STREAM | flags, 0)) {
    sockaddr_in address{AF_INET, htons(static_cast<std::uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
    ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  ~RawConnection() { ::close(fd_); }

  /// Waits until a connect started without blocking has completed.
  bool waitConnected(std::chrono::milliseconds timeout) {
    pollfd ready{fd_, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    return ::poll(&ready, 1, static_cast<int>(timeout.count())) == 1 &&
           ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
  }
  /// Sends `bytes`, or as many as the server takes before it closes.
  void send(const std::string& bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  /// The first bytes the server answers within five seconds.
  std::string answer() {
    timeval timeout{5, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    char buffer[256];
    ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
    return std::string(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
  }

 private:
  int fd_;
};

const std::string kAnalyticsPath = "/sdk/v1/apps/demo-app/events";

TEST_F(DevServerTest, SlowAndIdleClientsNeitherHoldUpOthersNorTheStop) {
  // More clients than any worker pool would have: half stall inside their header block, half inside a body.
  std::vector<std::unique_ptr<RawConnection>> stalled;
  for (int i = 0; i < 32; ++i) {
    stalled.push_back(std::make_unique<RawConnection>(server->port()));
    stalled.back()->send(i % 2 ? "GET /media/stories/kitchen-quiz.png HTTP/1.1\r\nHost: x\r\n"
                               : "POST /sdk/v1/events HTTP/1.1\r\nHost: x\r\nContent-Length: 90\r\n\r\n{");
  }
  client->set_connection_timeout(2s);
  client->set_read_timeout(2s);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(get(storiesPath(), headers()).first, 200) << "request " << i;

  auto stopping = Clock::now();
  server->stop();
  EXPECT_LT(Clock::now() - stopping, 2s);
}

TEST(DevServerSetup, ABurstOfConnectionsWaitsInTheBacklogUntilServingBegins) {
  TemporaryDirectory directory;
  auto server = serverWithoutApps(directory);
  auto port = server->bind();
  ASSERT_TRUE(port);
  // Nothing accepts yet: every connection the backlog cannot hold would wait for a SYN retransmission.
  std::vector<std::unique_ptr<RawConnection>> burst;
  for (int i = 0; i < 64; ++i) burst.push_back(std::make_unique<RawConnection>(port.value(), SOCK_NONBLOCK));
  int connected = 0;
  for (auto& connection : burst) connected += connection->waitConnected(500ms) ? 1 : 0;
  EXPECT_EQ(connected, 64);
}

TEST_F(DevServerTest, BodiesAboveTheLimitAreRefusedHoweverTheyAreFramedAndNothingIsStored) {
  std::string event = R"({"placementKey":"home","eventType":"STORY_ITEM_VIEWED","devicePlatform":"IOS",)"
                      R"("occurredAt":"2026-01-31T09:05:00Z","padding":")" +
                      std::string(3 * 1024 * 1024, 'x') + "\"}";
  auto chunked = [&](std::size_t offset, httplib::DataSink& sink) {
    std::size_t piece = std::min<std::size_t>(64 * 1024, event.size() - offset);
    if (piece > 0) return sink.write(event.data() + offset, piece);
    sink.done();
    return true;
  };
  auto withLength = client->Post(kAnalyticsPath.c_str(), headers(), event, "application/json");
  auto inChunks = client->Post(kAnalyticsPath.c_str(), headers(), chunked, "application/json");
  for (const auto* result : {&withLength, &inChunks}) {
    ASSERT_TRUE(*result) << httplib::to_string(result->error());
    EXPECT_EQ((std::tuple{(*result)->status, nlohmann::json::parse((*result)->body)["error"]}),
              (std::tuple{413, "Request body too large"}));
  }
  auto stored = store->eventsAfter(0);
  ASSERT_TRUE(stored);
  EXPECT_TRUE(stored.value().empty());
  EXPECT_EQ(get(storiesPath(), headers()).first, 200);
}

TEST_F(DevServerTest, AHeaderBlockAboveTheLimitIsRefusedAndTheServerGoesOn) {
  RawConnection connection(server->port());
  std::string request = "GET /media/stories/kitchen-quiz.png HTTP/1.1\r\nHost: x\r\n";
  for (int i = 0; i < 20000; ++i) request += "X-Filler-" + std::to_string(i) + ": yes\r\n";
  connection.send(request + "\r\n");
  EXPECT_EQ(connection.answer().rfind("HTTP/1.1 431", 0), 0u);
  // A request line just inside the limit is routed like any other.
  RawConnection longPath(server->port());
  longPath.send("GET /sdk/v1/apps/" + std::string(30000, 'a') + "/placements/home/stories HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_EQ(longPath.answer().rfind("HTTP/1.1 404", 0), 0u);
  EXPECT_EQ(client->Get("/media/stories/kitchen-quiz.png")->status, 200);
}

TEST_F(DevServerTest, RangesOfALargeFileComeFromTheFile) {
  TemporaryDirectory media;
  constexpr std::uint64_t kSize = 512ull * 1024 * 1024;
  constexpr std::uint64_t kMark = 300ull * 1024 * 1024;
  {
    std::ofstream video(media.path() / "large.mp4", std::ios::binary);
    video.seekp(static_cast<std::streamoff>(kMark));
    video << "MARK";
    video.seekp(static_cast<std::streamoff>(kSize - 4));
    video << "TAIL";
  }
  ServerOptions options;
  options.mediaDir = media.path();
  startServer(options);

  std::string size = std::to_string(kSize), tail = std::to_string(kSize - 4) + "-" + std::to_string(kSize - 1);
  for (const auto& [range, status, contentRange, body] :
       std::vector<std::tuple<std::string, int, std::string, std::string>>{
           {"bytes=314572800-314572803", 206, "bytes 314572800-314572803/" + size, "MARK"},
           {"bytes=-4", 206, "bytes " + tail + "/" + size, "TAIL"},
           {"bytes=" + size + "-", 416, "bytes */" + size, R"({"error")"},
       }) {
    auto result = client->Get("/media/large.mp4", {{"Range", range}});
    ASSERT_TRUE(result) << range;
    EXPECT_EQ(
        (std::tuple{result->status, result->get_header_value("Content-Range"), result->body.substr(0, body.size())}),
        (std::tuple{status, contentRange, body}))
        << range;
  }
}

TEST_F(DevServerTest, AnEscapedLineBreakInThePathCannotForgeALogLine) {
  std::ostringstream log;
  ServerOptions options;
  options.accessLog = &log;
  startServer(options);
  RawConnection connection(server->port());
  connection.send("GET /media/x%0d%0aGET%20/forged%20200 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(connection.answer().rfind("HTTP/1.1 404", 0), 0u);
  server->stop();
  EXPECT_EQ(log.str(), "GET /media/x%0D%0AGET%20/forged%20200 404\n");
}

}  // namespace
}  // namespace quenmark::devserver::testing
