// Bytes from the operating system's random generator.
//
// Linux's getrandom is offered two ways: the system call, and (from Linux 6.11, on x86-64 among others) the
// same generator in the vDSO, which runs in the calling process from a key the kernel hands it and keeps fresh.
// The vDSO way is about twice as fast for the password run's 16 KiB blocks, and it is what newer C libraries'
// getrandom() calls; Debian 12's C library predates it, so SystemBytes finds it itself and falls back to the
// system call wherever it is missing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvelle {

class SystemBytes
{
public:
    enum class Way {
        Best, // the vDSO when the kernel offers it, else the system call
        SystemCall, // always the system call
    };

    explicit SystemBytes(Way way = Way::Best);
    ~SystemBytes();
    SystemBytes(const SystemBytes&) = delete;
    SystemBytes& operator=(const SystemBytes&) = delete;

    /// Fills data[0..size-1]. Without the system's randomness there is nothing safe to make passwords from: if
    /// the generator fails (it cannot with these arguments on Linux 3.17 or later), prints why and aborts.
    void Fill(uint8_t* data, size_t size);

    /// Whether Fill goes through the vDSO.
    bool UsesVdso() const { return state_ != nullptr; }

private:
    void* state_ = nullptr; // the vDSO generator's state, in memory of its own
    size_t stateSize_ = 0;
    size_t mappedSize_ = 0;
};

} // namespace tarvelle
