// What happens when the saver crashes: clean-up on every thread, and the window thread's guard.
#include <windows.h>

#include "host/exception_guard_win32.h"

#include "host/host_modes_win32.h"
#include "host/saver_display_mode_win32.h"

namespace {

// The filter that was in place before ours, called after the clean-up.
LPTOP_LEVEL_EXCEPTION_FILTER previousCrashFilter = nullptr;

// The guard of one runGuarded call, on its stack.
struct GuardFrame {
#if defined(__i386__)
    GuardFrame* next; // the chain layout the system walks: next, then handler
    void* handler;
#endif
    LPTOP_LEVEL_EXCEPTION_FILTER filter;
    void* resume[5]; // __builtin_setjmp's buffer
};

#if defined(__i386__)

// NOTE: GCC has no __try/__except on 32-bit Windows, so the guard builds the frame itself: a
// registration record on the stack, linked into the thread's handler chain at FS:[0], whose
// handler unwinds the inner frames (RtlUnwind) and jumps back into runGuarded.
constexpr DWORD kUnwindingFlags = EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND;

extern "C" EXCEPTION_DISPOSITION __cdecl guardHandler(EXCEPTION_RECORD* record,
                                                      void* establisherFrame, CONTEXT* context,
                                                      void*) {
    if ((record->ExceptionFlags & kUnwindingFlags) != 0) {
        return ExceptionContinueSearch;
    }
    auto* frame = static_cast<GuardFrame*>(establisherFrame);
    EXCEPTION_POINTERS pointers = {record, context};
    const LONG verdict = frame->filter(&pointers);
    if (verdict == EXCEPTION_CONTINUE_EXECUTION) {
        return ExceptionContinueExecution;
    }
    if (verdict != EXCEPTION_EXECUTE_HANDLER) {
        return ExceptionContinueSearch;
    }
    RtlUnwind(frame, nullptr, record, nullptr);
    __builtin_longjmp(frame->resume, 1);
}

void enterGuard(GuardFrame* frame) {
    frame->handler = reinterpret_cast<void*>(guardHandler);
    frame->next = reinterpret_cast<GuardFrame*>(__readfsdword(0));
    __writefsdword(0, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(frame)));
}

void leaveGuard(GuardFrame* frame) {
    __writefsdword(0, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(frame->next)));
}

#else

// NOTE: 64-bit Windows unwinds through tables and has no FS:[0] chain. The 64-bit build, made
// only to run the tests where a machine runs no 32-bit programs, guards through the
// unhandled-exception filter instead, which an exception reaches once no frame handles it.
thread_local GuardFrame* activeGuard = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER filterOutsideGuards = nullptr;

LONG WINAPI guardFilter(EXCEPTION_POINTERS* exception) {
    GuardFrame* frame = activeGuard;
    if (frame == nullptr) {
        return filterOutsideGuards != nullptr ? filterOutsideGuards(exception)
                                              : EXCEPTION_CONTINUE_SEARCH;
    }
    const LONG verdict = frame->filter(exception);
    if (verdict == EXCEPTION_EXECUTE_HANDLER) {
        __builtin_longjmp(frame->resume, 1);
    }
    return verdict;
}

void enterGuard(GuardFrame* frame) {
    activeGuard = frame;
    filterOutsideGuards = SetUnhandledExceptionFilter(guardFilter);
}

void leaveGuard(GuardFrame*) {
    activeGuard = nullptr;
    SetUnhandledExceptionFilter(filterOutsideGuards);
}

#endif

} // namespace

void cleanUpSaverState() {
    SetSaverRunning(0);
    restoreSaverDisplayMode();
}

LONG WINAPI crashCleanupFilter(EXCEPTION_POINTERS* exception) {
    cleanUpSaverState();
    if (previousCrashFilter != nullptr) {
        return previousCrashFilter(exception);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

void installCrashCleanup() {
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(crashCleanupFilter);
    if (previous != crashCleanupFilter) {
        previousCrashFilter = previous;
    }
}

// noinline keeps the frame and the jump buffer in this function's own stack frame.
__attribute__((noinline)) int runGuarded(GuardedBody body, const char* argument,
                                         LPTOP_LEVEL_EXCEPTION_FILTER filter) {
    GuardFrame frame = {};
    frame.filter = filter;
    enterGuard(&frame);
    volatile int result = kCrashedModeResult;
    if (__builtin_setjmp(frame.resume) == 0) {
        result = body(argument);
    } else {
        SetSaverRunning(0);
        restoreSaverDisplayMode();
    }
    leaveGuard(&frame);
    return result;
}
