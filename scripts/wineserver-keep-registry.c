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

/* The server is a 64-bit program, whose calls of open() all go to this one symbol. */
int open(const char *path, int flags, ...)
{
    static int (*real)(const char *, int, ...);
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    if (IsRegistryTemp(path, flags)) {
        errno = EACCES;
        return -1;
    }
    if (!real)
        real = (int (*)(const char *, int, ...))dlsym(RTLD_NEXT, "open");
    return real ? real(path, flags, mode) : (errno = ENOSYS, -1);
}
