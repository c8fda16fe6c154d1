// without-tmpfile PROGRAM ARGS...: runs the program where files cannot be
// made without a name, as on network shares and FAT sticks: a seccomp
// filter makes every open with O_TMPFILE fail with EOPNOTSUPP.
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

// __O_TMPFILE without O_DIRECTORY: the bit no other open sets.
constexpr unsigned tmpfileBit = O_TMPFILE & ~O_DIRECTORY;

// The flags argument's low word: open's second, openat's third.
constexpr unsigned flagsOf(int argument) {
    return static_cast<unsigned>(offsetof(seccomp_data, args) + argument * sizeof(std::uint64_t));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: without-tmpfile PROGRAM ARGS...\n");
        return 2;
    }
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, flagsOf(2)),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, tmpfileBit, 5, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_open, 0, 2),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, flagsOf(1)),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, tmpfileBit, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EOPNOTSUPP & SECCOMP_RET_DATA)),
    };
    const sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        std::perror("without-tmpfile: seccomp");
        return 2;
    }
    execvp(argv[1], argv + 1);
    std::perror("without-tmpfile: exec");
    return 127;
}
