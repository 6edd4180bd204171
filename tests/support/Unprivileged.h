// SPDX-License-Identifier: MIT
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iostream>
#include <pwd.h>
#include <stdexcept>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace pixtint {

// What a refused permission does can only be seen by a user the permission refuses, and root
// is refused nothing. As root (CI runs the tests as root), these run the checked code as the
// user "nobody"; as anyone else, as that user.
struct UnprivilegedUser {
    uid_t uid = 65534;
    gid_t gid = 65534;

    static UnprivilegedUser nobody() {
        const passwd* entry = ::getpwnam("nobody");
        return entry ? UnprivilegedUser{entry->pw_uid, entry->pw_gid} : UnprivilegedUser{};
    }

    // Gives `folder` and everything in it to the user, whose test made them as root, so that
    // the user reaches them and the permissions the test took away refuse the user.
    void takeOver(const std::filesystem::path& folder) const {
        if (::lchown(folder.c_str(), uid, gid) != 0) {
            throw std::filesystem::filesystem_error(
                "cannot hand over", folder, std::error_code(errno, std::generic_category()));
        }
        // Root walks the folder whatever its permissions.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (::lchown(entry.path().c_str(), uid, gid) != 0) {
                throw std::filesystem::filesystem_error(
                    "cannot hand over", entry.path(),
                    std::error_code(errno, std::generic_category()));
            }
        }
    }
};

// Runs `check` unprivileged, its failures those of the current test. As root: in a child
// process that hands `folder` (unless empty) to nobody and then becomes nobody for good
// (groups, group, then user), where `check` fails or passes by the child's exit status; its
// failures print there.
// For a test process that has no threads running at the time (GoogleTest's own has none).
inline void runUnprivileged(const std::filesystem::path& folder,
                            const std::function<void()>& check) {
    if (::geteuid() != 0) {
        check();
        return;
    }
    const UnprivilegedUser user = UnprivilegedUser::nobody();
    if (!folder.empty()) {
        user.takeOver(folder);
    }
    std::cout.flush();
    std::fflush(nullptr); // or the child prints what the parent has not yet
    const pid_t child = ::fork();
    ASSERT_GE(child, 0) << "cannot fork";
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 &&
                             ::setresgid(user.gid, user.gid, user.gid) == 0 &&
                             ::setresuid(user.uid, user.uid, user.uid) == 0;
        if (dropped) {
            check();
        }
        std::cout.flush();
        std::fflush(nullptr);
        ::_exit(!dropped ? 2 : ::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the unprivileged child ended by signal " << WTERMSIG(status);
    EXPECT_NE(WEXITSTATUS(status), 2) << "the child could not become uid " << user.uid;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the unprivileged check failed, as printed above";
}

// For a test process that cannot fork, a Qt one with threads of its own: the whole process
// acts as nobody while this lives, and as root again after. Only the effective user and group
// change: root stays the real and saved user, which is what lets the destructor take root
// back, also when the test ends early. The C library makes every thread of the process change
// with the calling one, so work the window hands to a thread is unprivileged too. Does nothing
// when the process is not root.
class UnprivilegedScope {
public:
    // `folders`: those the test made as root for the unprivileged user to use.
    explicit UnprivilegedScope(std::initializer_list<std::filesystem::path> folders) {
        if (::geteuid() != 0) {
            return;
        }
        const UnprivilegedUser user = UnprivilegedUser::nobody();
        for (const auto& folder : folders) {
            user.takeOver(folder);
        }
        // The group first: once the user is nobody, the group can no longer change.
        if (::setresgid(-1, user.gid, -1) != 0 || ::setresuid(-1, user.uid, -1) != 0) {
            becomeRootAgain();
            throw std::runtime_error("cannot act as nobody");
        }
        dropped_ = true;
    }
    ~UnprivilegedScope() {
        if (dropped_) {
            becomeRootAgain();
        }
    }
    UnprivilegedScope(const UnprivilegedScope&) = delete;
    UnprivilegedScope& operator=(const UnprivilegedScope&) = delete;

private:
    static void becomeRootAgain() {
        if (::setresuid(-1, 0, -1) != 0 || ::setresgid(-1, 0, -1) != 0) {
            std::fputs("cannot take root back: the tests after this one would run as nobody\n",
                       stderr);
            std::abort();
        }
    }

    bool dropped_ = false;
};

} // namespace pixtint
