/* Preloaded into the 32-bit Linux processes of Wine that run under qemu-i386 (scripts/setup-root).
 *
 * qemu hands the emulated program its faults with trap number -1 in the signal context. Wine tells
 * an access violation from a division by zero or a breakpoint by that number, so every fault of a
 * 32-bit Windows program would reach it as an "unexpected trap": a probe such as IsBadReadPtr would
 * kill the program, a guard page would not grow the stack. This library wraps the handlers that
 * Wine installs for the fault signals and puts in the number that the processor would have given,
 * worked out from the signal and its code, before Wine's handler runs.
 *
 * Built with -m32 -nostdlib and no system header (the machine need not have 32-bit ones), linked
 * against the root's i386 libc for dlsym. */

typedef unsigned int u32;

/* glibc's struct sigaction on i386. */
struct user_sigaction {
    void *handler;
    u32 mask[32];
    int flags;
    void *restorer;
};
struct siginfo_head {
    int signo, err, code;
};
typedef void (*handler_fn)(int, void *, void *);

extern void *dlsym(void *handle, const char *name);
#define RTLD_NEXT ((void *)-1l)
#define SA_SIGINFO 4

enum { SIG_ILL = 4, SIG_TRAP = 5, SIG_BUS = 7, SIG_FPE = 8, SIG_SEGV = 11 };
/* The i386 ucontext: flags, link and the signal stack (20 bytes), then the general registers. */
enum { GREGS_OFFSET = 20, REG_TRAPNO = 12 };

static handler_fn wrapped_handlers[32];
static int (*real_sigaction)(int, const struct user_sigaction *, struct user_sigaction *);

static int is_fault_signal(int sig)
{
    return sig == SIG_ILL || sig == SIG_TRAP || sig == SIG_BUS || sig == SIG_FPE || sig == SIG_SEGV;
}

/* The processor's exception number for a signal and its si_code. */
static int trap_number(int sig, int code)
{
    switch (sig) {
    case SIG_SEGV: return (code == 1 /* SEGV_MAPERR */ || code == 2 /* SEGV_ACCERR */) ? 14 : 13;
    case SIG_BUS: return code == 1 /* BUS_ADRALN */ ? 17 : 14;
    case SIG_ILL: return 6;
    case SIG_FPE: return (code == 1 /* FPE_INTDIV */ || code == 2 /* FPE_INTOVF */) ? 0 : 16;
    case SIG_TRAP: return code == 2 /* TRAP_TRACE */ ? 1 : 3;
    }
    return -1;
}

static void fault_handler(int sig, void *info, void *context)
{
    int *gregs = (int *)((char *)context + GREGS_OFFSET);
    if (gregs[REG_TRAPNO] == -1)
        gregs[REG_TRAPNO] = trap_number(sig, ((struct siginfo_head *)info)->code);
    wrapped_handlers[sig](sig, info, context);
}

int sigaction(int sig, const struct user_sigaction *act, struct user_sigaction *old)
{
    if (!real_sigaction)
        real_sigaction = (int (*)(int, const struct user_sigaction *, struct user_sigaction *))dlsym(
            RTLD_NEXT, "sigaction");
    if (sig <= 0 || sig >= 32 || !is_fault_signal(sig) || !act || !(act->flags & SA_SIGINFO)) {
        int result = real_sigaction(sig, act, old);
        if (result == 0 && old && old->handler == (void *)fault_handler)
            old->handler = (void *)wrapped_handlers[sig];
        if (result == 0 && act && sig > 0 && sig < 32)
            wrapped_handlers[sig] = 0;
        return result;
    }
    struct user_sigaction mine = *act;
    mine.handler = (void *)fault_handler;
    handler_fn previous = wrapped_handlers[sig];
    int result = real_sigaction(sig, &mine, old);
    if (result == 0) {
        if (old && old->handler == (void *)fault_handler)
            old->handler = (void *)previous;
        wrapped_handlers[sig] = (handler_fn)act->handler;
    }
    return result;
}
