#include "sub.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
extern char** environ;
#endif

namespace platform {
namespace {
MessageBox gMessageBox = desktopMessageBox;

#ifndef _WIN32
// Runs a dialog tool and waits for it. The message travels as one argument
// (or through a pipe), never through a shell. False when the tool is not installed.
bool runDialog(std::vector<std::string> argv, const std::string* standardInput) {
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (standardInput != nullptr) {
        if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
        posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
    }
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (standardInput != nullptr) {
        close(pipeFds[0]);
        if (failed == 0) {
            const char* data = standardInput->data();
            std::size_t left = standardInput->size();
            while (left > 0) {
                const ssize_t n = write(pipeFds[1], data, left);
                if (n <= 0) break;
                data += n;
                left -= static_cast<std::size_t>(n);
            }
        }
        close(pipeFds[1]);
    }
    if (failed != 0) return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}
#endif
} // namespace

MessageBox setMessageBox(MessageBox box) {
    MessageBox previous = gMessageBox;
    gMessageBox = box;
    return previous;
}

bool desktopMessageBox(const std::string& title, const std::string& text) {
#ifdef _WIN32
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    return true;
#else
    // The first dialog tool the desktop has: GNOME's, KDE's, then plain X.
    // With no display to reach it fails at once; nothing here waits for one.
    if (runDialog({"zenity", "--error", "--no-markup", "--title=" + title, "--text=" + text}, nullptr)) {
        return true;
    }
    if (runDialog({"kdialog", "--title", title, "--error", text}, nullptr)) return true;
    return runDialog({"xmessage", "-title", title, "-center", "-buttons", "OK:0", "-default", "OK",
                      "-file", "-"},
                     &text);
#endif
}

} // namespace platform

void error(std::string message) {
    if (platform::gMessageBox != nullptr) platform::gMessageBox("Error", message);
    std::printf("%s\n", message.c_str());
    std::fflush(stdout);
}
