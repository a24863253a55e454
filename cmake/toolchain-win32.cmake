set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUORVA_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORVA_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVA_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVA_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUORVA_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# SSE2 arithmetic so float results match the 64-bit build. Windows promises
# only 4-byte stack alignment at callbacks and thread starts, and SSE spills
# need 16: every function realigns its stack (Wine aligns the stacks it
# hands out, so tests under Wine would not show the fault).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
# The programs may use the whole 4 GB a 64-bit Windows gives a 32-bit
# process (long songs need it), not only the low 2 GB.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--large-address-aware")
