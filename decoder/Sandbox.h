#pragma once

// The worker's confinement, put in place once the decoders are loaded (their
// plug-ins are files opened by name) and before the first request.

// Loads what decoding loads lazily: libheif's plug-ins, and Qt's image
// plug-ins with the libraries behind them (by asking each to read a few
// bytes), so that nothing needs opening later.
void LoadDecoders();

// Limits the worker's address space to `bytes` (so a decoder asking for too
// much gets an allocation failure, not the machine's memory), forbids core
// files and closes every descriptor above `keepUpTo`. False when a limit
// could not be set.
bool LimitResources(unsigned long long bytes, int keepUpTo);

// The system-call filter: what decoding on a descriptor needs (reading,
// memory, threads, time, the socket's messages, a memfd for the reply) and
// nothing else. Opening by name fails with EACCES; any other call ends the
// process. False when the filter could not be installed.
bool InstallSyscallFilter();
