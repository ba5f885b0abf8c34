# Floating point for every 32-bit x86 build, Windows and native alike.
#
# By default 32-bit x86 code computes in the x87 unit, where GCC keeps a
# "single-precision" quotient in an 80-bit register and never rounds it to
# single: the trace's point step then differs from the 64-bit build's and the
# last of 100 points lands one pixel further right. SSE2 arithmetic rounds
# every float and double to its own width, as x86_64 always does, so both
# architectures compute the same values. Every processor that a current
# 32-bit Windows runs on has SSE2.
set(ZEMBRIT_I686_FLOAT_FLAGS -msse2 -mfpmath=sse)
