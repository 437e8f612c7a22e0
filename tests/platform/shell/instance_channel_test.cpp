#include "platform/shell/instance_channel.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <fstream>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

// What the running instance was asked, in order.
class Requests {
public:
    InstanceChannel::Handler Handler() {
        return [this](InstanceRequest r) {
            std::lock_guard<std::mutex> g(mutex_);
            seen_.push_back(r);
            cv_.notify_all();
        };
    }
    std::vector<InstanceRequest> Seen() {
        std::lock_guard<std::mutex> g(mutex_);
        return seen_;
    }
    bool WaitFor(InstanceRequest r) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, std::chrono::seconds(10),
                            [&] { return std::find(seen_.begin(), seen_.end(), r) != seen_.end(); });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<InstanceRequest> seen_;
};

class InstanceChannelTest : public ::testing::Test {
protected:
    TempFolder tmp_;
    std::string runtime_ = tmp_.native() + "run";
    ScopedEnv runtimeEnv_{"KESTROVA_RUNTIME_DIR", runtime_.c_str()};
};

TEST_F(InstanceChannelTest, ASecondStartIsRefusedAndItsShowRequestReachesTheFirst) {
    EXPECT_FALSE(InstanceChannel::Send(InstanceRequest::kShow));  // nobody runs yet
    Requests first;
    std::unique_ptr<InstanceChannel> running;
    ASSERT_EQ(InstanceChannel::Claim(first.Handler(), running), ClaimResult::kClaimed);

    std::unique_ptr<InstanceChannel> second;
    EXPECT_EQ(InstanceChannel::Claim(nullptr, second), ClaimResult::kTaken);
    EXPECT_FALSE(second);
    ASSERT_TRUE(InstanceChannel::Send(InstanceRequest::kShow));
    ASSERT_TRUE(InstanceChannel::Send(InstanceRequest::kShow));
    EXPECT_EQ(first.Seen(), (std::vector<InstanceRequest>{InstanceRequest::kShow, InstanceRequest::kShow}));

    running.reset();
    EXPECT_FALSE(InstanceChannel::Send(InstanceRequest::kShow));
    EXPECT_EQ(InstanceChannel::Claim(nullptr, second), ClaimResult::kClaimed);
}

TEST_F(InstanceChannelTest, ARestartAsksTheFirstToCloseAndTakesOverWhenItHas) {
    Requests first;
    std::unique_ptr<InstanceChannel> running;
    ASSERT_EQ(InstanceChannel::Claim(first.Handler(), running), ClaimResult::kClaimed);

    Requests second;
    auto restart = std::async(std::launch::async, [&] {
        std::unique_ptr<InstanceChannel> channel;
        if (!InstanceChannel::Send(InstanceRequest::kClose)) return ClaimResult::kFailed;
        const ClaimResult result = InstanceChannel::ClaimWhenFree(second.Handler(), 10000, channel);
        if (channel && InstanceChannel::Send(InstanceRequest::kShow)) second.WaitFor(InstanceRequest::kShow);
        return result;
    });
    ASSERT_TRUE(first.WaitFor(InstanceRequest::kClose));
    running.reset();  // the first shuts down as its main window closes
    EXPECT_EQ(restart.get(), ClaimResult::kClaimed);
    EXPECT_EQ(second.Seen(), std::vector<InstanceRequest>{InstanceRequest::kShow});

    std::unique_ptr<InstanceChannel> third;
    ASSERT_EQ(InstanceChannel::Claim(nullptr, third), ClaimResult::kClaimed);
    EXPECT_EQ(InstanceChannel::ClaimWhenFree(nullptr, 120, running), ClaimResult::kTaken);
}

TEST_F(InstanceChannelTest, AKilledInstanceLeavesNothingInTheWay) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::unique_ptr<InstanceChannel> channel;
        const char claimed = InstanceChannel::Claim(nullptr, channel) == ClaimResult::kClaimed ? 'y' : 'n';
        (void)!write(ready[1], &claimed, 1);
        pause();
        _exit(0);
    }
    char claimed = 0;
    ASSERT_EQ(read(ready[0], &claimed, 1), 1);
    ASSERT_EQ(claimed, 'y');
    std::unique_ptr<InstanceChannel> channel;
    EXPECT_EQ(InstanceChannel::Claim(nullptr, channel), ClaimResult::kTaken);  // across processes too
    EXPECT_TRUE(InstanceChannel::Send(InstanceRequest::kShow));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);

    EXPECT_TRUE(FileExists(FromUtf8(runtime_ + "/kestrova.sock")));  // left behind by the killed one
    EXPECT_FALSE(InstanceChannel::Send(InstanceRequest::kShow));
    Requests now;
    ASSERT_EQ(InstanceChannel::Claim(now.Handler(), channel), ClaimResult::kClaimed);
    EXPECT_TRUE(InstanceChannel::Send(InstanceRequest::kClose));
    EXPECT_EQ(now.Seen(), std::vector<InstanceRequest>{InstanceRequest::kClose});
}

TEST_F(InstanceChannelTest, OnlyTheTwoRequestsAreAnswered) {
    Requests first;
    std::unique_ptr<InstanceChannel> running;
    ASSERT_EQ(InstanceChannel::Claim(first.Handler(), running), ClaimResult::kClaimed);
    for (const char* line :
         {"quit\n", "show now\n", "SHOW\n", "show", "a very long line that never ends\n"}) {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, (runtime_ + "/kestrova.sock").c_str());
        ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_GT(send(fd, line, std::strlen(line), MSG_NOSIGNAL), 0);
        shutdown(fd, SHUT_WR);
        char reply[8] = {};
        EXPECT_LE(recv(fd, reply, sizeof reply, 0), 0) << line;  // closed (or reset) without an answer
        close(fd);
    }
    EXPECT_TRUE(first.Seen().empty());
    EXPECT_TRUE(InstanceChannel::Send(InstanceRequest::kShow));
}

TEST_F(InstanceChannelTest, ARuntimeFolderThatIsNotPrivateIsNotUsed) {
    ASSERT_TRUE(CreateFolder(FromUtf8(runtime_)));
    ASSERT_EQ(chmod(runtime_.c_str(), 0777), 0);
    std::unique_ptr<InstanceChannel> channel;
    EXPECT_EQ(InstanceChannel::Claim(nullptr, channel), ClaimResult::kFailed);
    ASSERT_EQ(chmod(runtime_.c_str(), 0700), 0);
    std::ofstream(tmp_.native() + "file") << "x";
    ScopedEnv notAFolder("KESTROVA_RUNTIME_DIR", (tmp_.native() + "file").c_str());
    EXPECT_EQ(InstanceChannel::Claim(nullptr, channel), ClaimResult::kFailed);
    EXPECT_FALSE(channel);
}

TEST(RuntimeFolder, FollowsTheSessionsRuntimeFolder) {
    ScopedEnv own("KESTROVA_RUNTIME_DIR", nullptr);
    {
        ScopedEnv xdg("XDG_RUNTIME_DIR", "/run/user/1000");
        EXPECT_EQ(RuntimeFolder(), L"/run/user/1000/kestrova/");
    }
    ScopedEnv none("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(RuntimeFolder(), L"/tmp/kestrova-" + std::to_wstring(getuid()) + L"/");
}

}  // namespace
}  // namespace kestrova
