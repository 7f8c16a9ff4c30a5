# Shared settings of the two mingw-w64 toolchains. The posix thread variant gives the
# C++ runtime std::thread and friends; everything is linked statically.
set(CMAKE_C_COMPILER ${QUON_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUON_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUON_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUON_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
