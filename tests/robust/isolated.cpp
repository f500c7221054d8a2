#include "isolated.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

void runIsolated(const std::function<void()>& body, unsigned seconds) {
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
        body();
        // exit, not _exit: the sanitizers' leak check runs at exit.
        std::exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    // The deadline is kept from here: SDL ignores SIGALRM in the child.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        ADD_FAILURE() << "hung: still running after " << seconds << " s";
    } else if (WIFSIGNALED(status)) {
        ADD_FAILURE() << "crashed: " << strsignal(WTERMSIG(status));
    } else {
        EXPECT_EQ(WEXITSTATUS(status), 0) << "failed in its own process (see its output above)";
    }
}
