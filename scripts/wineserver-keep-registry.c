/* Preloaded into the wineserver of a session (scripts/wine-session): the server keeps the registry
 * in memory and never writes it back to the prefix.
 *
 * Every 30 s the wineserver writes each changed branch of the registry to a temporary file, which
 * it then renames over system.reg or user.reg. Playing a medium changes the machine's branch each
 * time (DirectShow's device enumerator and the audio device list write their keys anew), and
 * writing out that branch (3 MB in a fresh prefix) keeps the single-threaded server busy for 40 to
 * 75 ms. Every Wine thread that signals an event waits for it meanwhile, among them the thread of
 * Wine's PulseAudio driver that hands the sound server 10 ms at a time against a 30 ms buffer: the
 * sound breaks. A real Windows has no such pause. The session's registry changes are of no use
 * afterwards (the prefix is set up before the session, by a server of its own), so the server is
 * refused the temporary file: it gives up the write at once and tries again, as cheaply, later. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <string.h>
#include <sys/types.h>

/* The server names its temporary file "reg<pid><count>.tmp" in the prefix's folder. */
static int IsRegistryTemp(const char *path, int flags)
{
    if (!(flags & O_CREAT) || !path)
        return 0;
    const char *base = strrchr(path, '/');
    base = base ? base + 1 : path;
    const size_t length = strlen(base);
    return length > 7 && strncmp(base, "reg", 3) == 0 && strcmp(base + length - 4, ".tmp") == 0;
}

typedef int (*open_fn)(const char *, int, ...);

static int Open(const char *name, open_fn *real, const char *path, int flags, va_list args)
{
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    if (IsRegistryTemp(path, flags)) {
        errno = EACCES;
        return -1;
    }
    if (!*real)
        *real = (open_fn)dlsym(RTLD_NEXT, name);
    return *real ? (*real)(path, flags, mode) : (errno = ENOSYS, -1);
}

int open(const char *path, int flags, ...)
{
    static open_fn real;
    va_list args;
    va_start(args, flags);
    const int fd = Open("open", &real, path, flags, args);
    va_end(args);
    return fd;
}

int open64(const char *path, int flags, ...)
{
    static open_fn real;
    va_list args;
    va_start(args, flags);
    const int fd = Open("open64", &real, path, flags, args);
    va_end(args);
    return fd;
}
