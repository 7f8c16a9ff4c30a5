# Shared settings of the two mingw-w64 toolchains; everything is linked statically.
# The win32 thread variant: its C++ runtime and libgcc take their locks and thread-local storage from
# critical sections, semaphores and TLS slots, which Windows XP has. The posix variant links
# winpthreads in even where the program starts no thread (exception allocation, static locals,
# unwinding), and winpthreads imports GetTickCount64, which XP lacks, so the loader would refuse
# the program there. The price: no std::thread, std::mutex or std::condition_variable (threads are
# the system's own, CreateThread; locks the framework's CCriticalSection).
set(CMAKE_C_COMPILER ${QUON_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${QUON_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${QUON_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUON_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
