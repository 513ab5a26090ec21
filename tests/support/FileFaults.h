#pragma once

// Test tools (POSIX only) for saves that fail part-way and for paths that are not regular
// files.

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <cerrno>
#include <csignal>

namespace cps::test {

// While alive, no file this process writes may grow beyond limit bytes: a write past it
// fails (EFBIG) the way a full disk fails one, instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit l = old_;
        l.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

// The same limit for a child process only.
inline void limitChildFileSize(QProcess& process, rlim_t limit) {
    process.setChildProcessModifier([limit] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit l{};
        getrlimit(RLIMIT_FSIZE, &l);
        l.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &l);
    });
}

// A tmpfs of a few kilobytes mounted on an empty folder, for as long as the object lives.
// mounted() is false where the test may not mount (no privilege): skip that variant then.
class TinyDisk {
  public:
    explicit TinyDisk(const QString& folder, const char* options = "size=8k")
        : folder_(QFile::encodeName(folder)) {
        mounted_ =
            ::mount("tmpfs", folder_.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options) == 0;
    }
    ~TinyDisk() {
        if (mounted_ && ::umount(folder_.constData()) != 0)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;

    bool mounted() const { return mounted_; }
    // Takes every free byte with a file of that name.
    void fill(const QString& fillerPath) const {
        const int fd =
            ::open(QFile::encodeName(fillerPath).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0) return;
        const char block[512] = {};
        while (::write(fd, block, sizeof block) > 0) {
        }
        ::close(fd);
    }

  private:
    QByteArray folder_;
    bool mounted_ = false;
};

inline bool makeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A character device node like /dev/null, made only where the test may (needs privilege).
inline bool makeNullDevice(const QString& path) {
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
}

inline bool isFifo(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

inline bool isCharDevice(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

}  // namespace cps::test
