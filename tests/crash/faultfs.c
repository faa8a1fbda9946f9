// A preloaded library that counts a program's file-system calls on chosen folders (the card,
// the PC's copy folder) and, at call N, fails it, kills the process before it, or makes it
// write part of its bytes and then kills the process: a card pulled at any byte.
//
// Environment:
//   FAULTFS_PREFIXES  folders whose paths count, separated by ':' (absolute, as the program
//                     is given them)
//   FAULTFS_AT        the 1-based number of the call to fault (0 or unset: none)
//   FAULTFS_MODE      fail | kill | tear
//   FAULTFS_TEAR      bytes a torn write still writes (default: half, at least 1 less than all)
//   FAULTFS_KILL_AT   with fail: a later call before which the process is killed
//   FAULTFS_LOG       a file that gets one line per counted call: "<number> <call> <path>"
//
// Calls on descriptors count when the descriptor was opened on a counted path. Calls made
// inside the C library (fopen's own open) cannot be seen, so the stream functions that the
// C++ library uses are wrapped themselves.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdio_ext.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

enum { MAX_TRACKED_FD = 4096, MAX_PREFIXES = 8, MAX_PATH_TEXT = 4096 };

static char g_prefixes[MAX_PREFIXES][MAX_PATH_TEXT];
static int g_prefixCount = -1;
static long g_at = 0, g_killAt = 0, g_tear = -1;
static char g_mode[8];
static long g_calls = 0;
static unsigned char g_tracked[MAX_TRACKED_FD];
static char g_log[MAX_PATH_TEXT];

static void *Real(const char *name) {
    void *fn = dlsym(RTLD_NEXT, name);
    if (!fn) abort();
    return fn;
}

static void Setup(void) {
    if (g_prefixCount >= 0) return;
    g_prefixCount = 0;
    const char *prefixes = getenv("FAULTFS_PREFIXES");
    if (prefixes) {
        const char *p = prefixes;
        while (*p && g_prefixCount < MAX_PREFIXES) {
            const char *end = strchr(p, ':');
            size_t length = end ? (size_t)(end - p) : strlen(p);
            if (length > 0 && length < MAX_PATH_TEXT) {
                memcpy(g_prefixes[g_prefixCount], p, length);
                g_prefixes[g_prefixCount][length] = '\0';
                ++g_prefixCount;
            }
            if (!end) break;
            p = end + 1;
        }
    }
    const char *at = getenv("FAULTFS_AT");
    g_at = at ? atol(at) : 0;
    const char *killAt = getenv("FAULTFS_KILL_AT");
    g_killAt = killAt ? atol(killAt) : 0;
    const char *tear = getenv("FAULTFS_TEAR");
    g_tear = tear ? atol(tear) : -1;
    const char *mode = getenv("FAULTFS_MODE");
    snprintf(g_mode, sizeof(g_mode), "%s", mode ? mode : "fail");
    const char *log = getenv("FAULTFS_LOG");
    snprintf(g_log, sizeof(g_log), "%s", log ? log : "");
}

static int Counted(const char *path) {
    Setup();
    if (!path) return 0;
    for (int i = 0; i < g_prefixCount; ++i) {
        size_t length = strlen(g_prefixes[i]);
        if (strncmp(path, g_prefixes[i], length) == 0 && (path[length] == '/' || path[length] == '\0')) return 1;
    }
    return 0;
}

static int CountedFd(int fd) { return fd >= 0 && fd < MAX_TRACKED_FD && g_tracked[fd]; }
static void Track(int fd, int on) {
    if (fd >= 0 && fd < MAX_TRACKED_FD) g_tracked[fd] = (unsigned char)on;
}

static void Log(long number, const char *call, const char *path) {
    if (!g_log[0]) return;
    static int (*realOpen)(const char *, int, ...);
    static ssize_t (*realWrite)(int, const void *, size_t);
    static int (*realClose)(int);
    if (!realOpen) {
        realOpen = (int (*)(const char *, int, ...))Real("open");
        realWrite = (ssize_t(*)(int, const void *, size_t))Real("write");
        realClose = (int (*)(int))Real("close");
    }
    int fd = realOpen(g_log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    char line[MAX_PATH_TEXT + 64];
    int length = snprintf(line, sizeof(line), "%ld %s %s\n", number, call, path ? path : "-");
    if (length > 0) realWrite(fd, line, (size_t)length < sizeof(line) ? (size_t)length : sizeof(line) - 1);
    realClose(fd);
}

enum Action { GO, FAIL, TEAR };

// Counts the call and says what to do with it; kills the process when that is the fault.
static enum Action Step(const char *call, const char *path) {
    Setup();
    const long number = ++g_calls;
    Log(number, call, path);
    if (g_killAt > 0 && number == g_killAt) raise(SIGKILL);
    if (number != g_at) return GO;
    if (strcmp(g_mode, "kill") == 0) raise(SIGKILL);
    if (strcmp(g_mode, "tear") == 0) return TEAR;
    return FAIL;
}

static const char *FdText(int fd) {
    static char text[32];
    snprintf(text, sizeof(text), "fd:%d", fd);
    return text;
}

static size_t TornLength(size_t count) {
    if (g_tear >= 0) return (size_t)g_tear < count ? (size_t)g_tear : (count ? count - 1 : 0);
    return count / 2;
}

static int OpenFlagsCreate(int flags) { return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE; }

// open, open64, openat, openat64, creat, creat64 share this.
static int OpenCommon(const char *call, int dirfd, const char *path, int flags, mode_t mode, int at) {
    const int counted = Counted(path);
    if (counted) {
        enum Action action = Step(call, path);
        if (action != GO) {
            errno = EIO;
            return -1;
        }
    }
    int fd;
    if (at) {
        static int (*realOpenat)(int, const char *, int, ...);
        if (!realOpenat) realOpenat = (int (*)(int, const char *, int, ...))Real("openat");
        fd = realOpenat(dirfd, path, flags, mode);
    } else {
        static int (*realOpen)(const char *, int, ...);
        if (!realOpen) realOpen = (int (*)(const char *, int, ...))Real("open");
        fd = realOpen(path, flags, mode);
    }
    if (fd >= 0) Track(fd, counted);
    return fd;
}

#define MODE_ARG(flags, mode)                      \
    mode_t mode = 0;                               \
    if (OpenFlagsCreate(flags)) {                  \
        va_list args;                              \
        va_start(args, flags);                     \
        mode = (mode_t)va_arg(args, int);          \
        va_end(args);                              \
    }

int open(const char *path, int flags, ...) {
    MODE_ARG(flags, mode)
    return OpenCommon("open", AT_FDCWD, path, flags, mode, 0);
}
int open64(const char *path, int flags, ...) {
    MODE_ARG(flags, mode)
    return OpenCommon("open64", AT_FDCWD, path, flags, mode, 0);
}
int openat(int dirfd, const char *path, int flags, ...) {
    MODE_ARG(flags, mode)
    return OpenCommon("openat", dirfd, path, flags, mode, 1);
}
int openat64(int dirfd, const char *path, int flags, ...) {
    MODE_ARG(flags, mode)
    return OpenCommon("openat64", dirfd, path, flags, mode, 1);
}
int creat(const char *path, mode_t mode) {
    return OpenCommon("creat", AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC, mode, 0);
}
int creat64(const char *path, mode_t mode) {
    return OpenCommon("creat64", AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC, mode, 0);
}

static FILE *FopenCommon(const char *call, const char *path, const char *how) {
    const int counted = Counted(path);
    if (counted && Step(call, path) != GO) {
        errno = EIO;
        return NULL;
    }
    static FILE *(*realFopen)(const char *, const char *);
    if (!realFopen) realFopen = (FILE * (*)(const char *, const char *)) Real("fopen");
    FILE *file = realFopen(path, how);
    if (file) Track(fileno(file), counted);
    return file;
}
FILE *fopen(const char *path, const char *how) { return FopenCommon("fopen", path, how); }
FILE *fopen64(const char *path, const char *how) { return FopenCommon("fopen64", path, how); }

int fclose(FILE *file) {
    static int (*realFclose)(FILE *);
    if (!realFclose) realFclose = (int (*)(FILE *))Real("fclose");
    const int fd = file ? fileno(file) : -1;
    if (CountedFd(fd)) {
        enum Action action = Step("fclose", FdText(fd));
        Track(fd, 0);
        if (action != GO) {
            __fpurge(file);  // what was still buffered is lost, as on a card that went away
            realFclose(file);
            errno = EIO;
            return EOF;
        }
    }
    return realFclose(file);
}

int close(int fd) {
    static int (*realClose)(int);
    if (!realClose) realClose = (int (*)(int))Real("close");
    if (CountedFd(fd)) {
        enum Action action = Step("close", FdText(fd));
        Track(fd, 0);
        if (action != GO) {
            realClose(fd);  // the descriptor is gone even when close reports an error
            errno = EIO;
            return -1;
        }
    }
    return realClose(fd);
}

ssize_t write(int fd, const void *buffer, size_t count) {
    static ssize_t (*realWrite)(int, const void *, size_t);
    if (!realWrite) realWrite = (ssize_t(*)(int, const void *, size_t))Real("write");
    if (CountedFd(fd)) {
        enum Action action = Step("write", FdText(fd));
        if (action == FAIL) {
            errno = EIO;
            return -1;
        }
        if (action == TEAR) {
            realWrite(fd, buffer, TornLength(count));
            raise(SIGKILL);
        }
    }
    return realWrite(fd, buffer, count);
}

static ssize_t PwriteCommon(const char *call, int fd, const void *buffer, size_t count, off_t offset) {
    static ssize_t (*realPwrite)(int, const void *, size_t, off_t);
    if (!realPwrite) realPwrite = (ssize_t(*)(int, const void *, size_t, off_t))Real("pwrite");
    if (CountedFd(fd)) {
        enum Action action = Step(call, FdText(fd));
        if (action == FAIL) {
            errno = EIO;
            return -1;
        }
        if (action == TEAR) {
            realPwrite(fd, buffer, TornLength(count), offset);
            raise(SIGKILL);
        }
    }
    return realPwrite(fd, buffer, count, offset);
}
ssize_t pwrite(int fd, const void *buffer, size_t count, off_t offset) {
    return PwriteCommon("pwrite", fd, buffer, count, offset);
}
ssize_t pwrite64(int fd, const void *buffer, size_t count, off_t offset) {
    return PwriteCommon("pwrite64", fd, buffer, count, offset);
}

ssize_t writev(int fd, const struct iovec *parts, int count) {
    static ssize_t (*realWritev)(int, const struct iovec *, int);
    if (!realWritev) realWritev = (ssize_t(*)(int, const struct iovec *, int))Real("writev");
    if (CountedFd(fd)) {
        enum Action action = Step("writev", FdText(fd));
        if (action == FAIL) {
            errno = EIO;
            return -1;
        }
        if (action == TEAR) {
            size_t total = 0;
            for (int i = 0; i < count; ++i) total += parts[i].iov_len;
            size_t left = TornLength(total);
            static ssize_t (*realWrite)(int, const void *, size_t);
            if (!realWrite) realWrite = (ssize_t(*)(int, const void *, size_t))Real("write");
            for (int i = 0; i < count && left > 0; ++i) {
                size_t part = parts[i].iov_len < left ? parts[i].iov_len : left;
                realWrite(fd, parts[i].iov_base, part);
                left -= part;
            }
            raise(SIGKILL);
        }
    }
    return realWritev(fd, parts, count);
}

#define FD_CALL(name, type)                                      \
    int name(type fd) {                                          \
        static int (*realCall)(type);                            \
        if (!realCall) realCall = (int (*)(type))Real(#name);   \
        if (CountedFd(fd) && Step(#name, FdText(fd)) != GO) {    \
            errno = EIO;                                         \
            return -1;                                           \
        }                                                        \
        return realCall(fd);                                     \
    }
FD_CALL(fsync, int)
FD_CALL(fdatasync, int)

static int FtruncateCommon(const char *call, int fd, off_t length) {
    static int (*realFtruncate)(int, off_t);
    if (!realFtruncate) realFtruncate = (int (*)(int, off_t))Real("ftruncate");
    if (CountedFd(fd) && Step(call, FdText(fd)) != GO) {
        errno = EIO;
        return -1;
    }
    return realFtruncate(fd, length);
}
int ftruncate(int fd, off_t length) { return FtruncateCommon("ftruncate", fd, length); }
int ftruncate64(int fd, off_t length) { return FtruncateCommon("ftruncate64", fd, length); }

static int TruncateCommon(const char *call, const char *path, off_t length) {
    static int (*realTruncate)(const char *, off_t);
    if (!realTruncate) realTruncate = (int (*)(const char *, off_t))Real("truncate");
    if (Counted(path) && Step(call, path) != GO) {
        errno = EIO;
        return -1;
    }
    return realTruncate(path, length);
}
int truncate(const char *path, off_t length) { return TruncateCommon("truncate", path, length); }
int truncate64(const char *path, off_t length) { return TruncateCommon("truncate64", path, length); }

int rename(const char *from, const char *to) {
    static int (*realRename)(const char *, const char *);
    if (!realRename) realRename = (int (*)(const char *, const char *))Real("rename");
    if ((Counted(from) || Counted(to)) && Step("rename", to) != GO) {
        errno = EIO;
        return -1;
    }
    return realRename(from, to);
}

int renameat(int fromDir, const char *from, int toDir, const char *to) {
    static int (*realRenameat)(int, const char *, int, const char *);
    if (!realRenameat) realRenameat = (int (*)(int, const char *, int, const char *))Real("renameat");
    if ((Counted(from) || Counted(to)) && Step("renameat", to) != GO) {
        errno = EIO;
        return -1;
    }
    return realRenameat(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags) {
    static int (*realRenameat2)(int, const char *, int, const char *, unsigned);
    if (!realRenameat2) realRenameat2 = (int (*)(int, const char *, int, const char *, unsigned))Real("renameat2");
    if ((Counted(from) || Counted(to)) && Step("renameat2", to) != GO) {
        errno = EIO;
        return -1;
    }
    return realRenameat2(fromDir, from, toDir, to, flags);
}

#define PATH_CALL(name)                                                   \
    int name(const char *path) {                                          \
        static int (*realCall)(const char *);                             \
        if (!realCall) realCall = (int (*)(const char *))Real(#name);    \
        if (Counted(path) && Step(#name, path) != GO) {                   \
            errno = EIO;                                                  \
            return -1;                                                    \
        }                                                                 \
        return realCall(path);                                            \
    }
PATH_CALL(unlink)
PATH_CALL(remove)
PATH_CALL(rmdir)

int unlinkat(int dirfd, const char *path, int flags) {
    static int (*realUnlinkat)(int, const char *, int);
    if (!realUnlinkat) realUnlinkat = (int (*)(int, const char *, int))Real("unlinkat");
    if (Counted(path) && Step("unlinkat", path) != GO) {
        errno = EIO;
        return -1;
    }
    return realUnlinkat(dirfd, path, flags);
}

int mkdir(const char *path, mode_t mode) {
    static int (*realMkdir)(const char *, mode_t);
    if (!realMkdir) realMkdir = (int (*)(const char *, mode_t))Real("mkdir");
    if (Counted(path) && Step("mkdir", path) != GO) {
        errno = EIO;
        return -1;
    }
    return realMkdir(path, mode);
}
