#include "decoder/Sandbox.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <libheif/heif.h>
#include <seccomp.h>

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <linux/sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct FilterRelease {
    void operator()(scmp_filter_ctx context) const { seccomp_release(context); }
};

// Calls the decoders, Qt and the C library make while decoding; found by
// running the filter over the test pictures and the formats corpus. A
// movie's frame (libavformat reading through our pread callbacks, libavcodec
// on one thread, swscale) needs none beyond them: tried on the videos corpus
// and on H.264, HEVC (8 and 10 bits), AV1, VP9 and Motion JPEG movies.
constexpr int kAllowed[] = {
    // reading the file handed over, writing the reply's memfd and stderr
    SCMP_SYS(read),
    SCMP_SYS(pread64),
    SCMP_SYS(readv),
    SCMP_SYS(preadv),
    SCMP_SYS(write),
    SCMP_SYS(writev),
    SCMP_SYS(lseek),
    SCMP_SYS(fstat),
    SCMP_SYS(newfstatat),
    SCMP_SYS(statx),
    SCMP_SYS(close),
    SCMP_SYS(memfd_create),
    SCMP_SYS(ftruncate),
    SCMP_SYS(fcntl),
    // the socket to the window
    SCMP_SYS(recvmsg),
    SCMP_SYS(sendmsg),
    // memory
    SCMP_SYS(brk),
    SCMP_SYS(mmap),
    SCMP_SYS(munmap),
    SCMP_SYS(mremap),
    SCMP_SYS(mprotect),
    SCMP_SYS(madvise),
    // threads (Qt's scaling and libde265 decode on a few)
    SCMP_SYS(futex),
    SCMP_SYS(set_robust_list),
    SCMP_SYS(rseq),
    SCMP_SYS(sched_yield),
    SCMP_SYS(sched_getaffinity),
    SCMP_SYS(gettid),
    SCMP_SYS(getpid),
    SCMP_SYS(exit),
    SCMP_SYS(exit_group),
    SCMP_SYS(rt_sigprocmask),
    SCMP_SYS(rt_sigaction),
    SCMP_SYS(rt_sigreturn),
    SCMP_SYS(sigaltstack),
    SCMP_SYS(tgkill),
    SCMP_SYS(getrlimit),
    SCMP_SYS(sysinfo),
    SCMP_SYS(prlimit64),
    // time
    SCMP_SYS(clock_gettime),
    SCMP_SYS(clock_getres),
    SCMP_SYS(gettimeofday),
    SCMP_SYS(nanosleep),
    SCMP_SYS(clock_nanosleep),
    SCMP_SYS(getrandom),
    SCMP_SYS(alarm),
};

} // namespace

void LoadDecoders() {
    heif_init(nullptr);
    // A few bytes no plug-in reads: every one is asked, so every one loads
    // with the libraries behind it.
    QByteArray nothing(64, '\x5a');
    QBuffer in(&nothing);
    in.open(QIODevice::ReadOnly);
    QImageReader probe(&in);
    (void)probe.canRead();
    // Qt scales large pictures on its thread pool: its threads start now.
    QImage large(1024, 1024, QImage::Format_RGB32);
    large.fill(Qt::gray);
    (void)large.scaled(100, 100, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

bool LimitResources(unsigned long long bytes, int keepUpTo) {
    const rlimit memory{bytes, bytes};
    const rlimit none{0, 0};
    if (::setrlimit(RLIMIT_AS, &memory) != 0 || ::setrlimit(RLIMIT_CORE, &none) != 0)
        return false;
    for (int fd = keepUpTo + 1; fd < 1024; ++fd)
        ::close(fd);
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0;
}

bool InstallSyscallFilter() {
    const std::unique_ptr<void, FilterRelease> filter(seccomp_init(SCMP_ACT_KILL_PROCESS));
    if (!filter)
        return false;
    scmp_filter_ctx context = filter.get();
    for (const int call : kAllowed)
        if (seccomp_rule_add(context, SCMP_ACT_ALLOW, call, 0) != 0)
            return false;
    // Threads only: a clone without CLONE_THREAD (a new process) ends the
    // worker. clone3's flags lie behind a pointer the filter cannot read, so
    // it is refused and the C library falls back to clone.
    if (seccomp_rule_add(context, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                         SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD)) != 0 ||
        seccomp_rule_add(context, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) != 0)
        return false;
    // Threads name themselves; no other process control.
    if (seccomp_rule_add(context, SCMP_ACT_ALLOW, SCMP_SYS(prctl), 1,
                         SCMP_A0(SCMP_CMP_EQ, PR_SET_NAME, 0)) != 0 ||
        seccomp_rule_add(context, SCMP_ACT_ALLOW, SCMP_SYS(prctl), 1,
                         SCMP_A0(SCMP_CMP_EQ, PR_GET_NAME, 0)) != 0)
        return false;
    // Nothing is opened by name: a late attempt fails as a missing file
    // would, rather than ending the worker.
    for (const int call : {SCMP_SYS(open), SCMP_SYS(openat), SCMP_SYS(readlink), SCMP_SYS(access),
                           SCMP_SYS(faccessat)})
        if (seccomp_rule_add(context, SCMP_ACT_ERRNO(EACCES), call, 0) != 0)
            return false;
    return seccomp_load(context) == 0;
}
