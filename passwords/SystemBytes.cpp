#include "SystemBytes.h"

#include <elf.h>
#include <link.h>
#include <sys/auxv.h>
#include <sys/mman.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace tarvelle {

namespace {

/// ssize_t getrandom(void* buffer, size_t length, unsigned flags, void* state, size_t stateSize); a failure is
/// returned as minus its errno.
using VdsoGetrandom = ssize_t (*)(void*, size_t, unsigned, void*, size_t);

/// What the vDSO function tells about its state when asked with a state size of ~0.
struct VdsoStateParams
{
    uint32_t sizeOfOpaqueState = 0;
    uint32_t mmapProt = 0;
    uint32_t mmapFlags = 0;
    uint32_t reserved[13] = {};
};

/// The vDSO's __vdso_getrandom, or null when the kernel has none. The vDSO is an ELF image the kernel maps into
/// every process; its dynamic section lists its symbols.
VdsoGetrandom FindVdsoGetrandom()
{
    const auto base = static_cast<uintptr_t>(getauxval(AT_SYSINFO_EHDR));
    if (base == 0)
        return nullptr;
    const auto* header = reinterpret_cast<const ElfW(Ehdr)*>(base);
    constexpr unsigned char kNativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    if (std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 || header->e_ident[EI_CLASS] != kNativeClass)
        return nullptr;
    const auto* programs = reinterpret_cast<const ElfW(Phdr)*>(base + header->e_phoff);
    uintptr_t load = 0; // added to a virtual address in the image gives its address in memory
    bool loaded = false;
    const ElfW(Dyn)* dynamic = nullptr;
    for (size_t i = 0; i < header->e_phnum; ++i) {
        if (programs[i].p_type == PT_LOAD && !loaded) {
            load = base + programs[i].p_offset - programs[i].p_vaddr;
            loaded = true;
        } else if (programs[i].p_type == PT_DYNAMIC) {
            dynamic = reinterpret_cast<const ElfW(Dyn)*>(base + programs[i].p_offset);
        }
    }
    if (!loaded || dynamic == nullptr)
        return nullptr;
    const ElfW(Sym)* symbols = nullptr;
    const char* names = nullptr;
    const ElfW(Word)* hash = nullptr;
    for (const ElfW(Dyn)* entry = dynamic; entry->d_tag != DT_NULL; ++entry) {
        if (entry->d_tag == DT_SYMTAB)
            symbols = reinterpret_cast<const ElfW(Sym)*>(load + entry->d_un.d_ptr);
        else if (entry->d_tag == DT_STRTAB)
            names = reinterpret_cast<const char*>(load + entry->d_un.d_ptr);
        else if (entry->d_tag == DT_HASH)
            hash = reinterpret_cast<const ElfW(Word)*>(load + entry->d_un.d_ptr);
    }
    if (symbols == nullptr || names == nullptr || hash == nullptr)
        return nullptr;
    const ElfW(Word) count = hash[1]; // the hash table's chain count is the number of symbols
    for (ElfW(Word) i = 0; i < count; ++i) {
        const ElfW(Sym)& symbol = symbols[i];
        // ELF32_ST_TYPE reads the same bits.
        if (ELF64_ST_TYPE(symbol.st_info) == STT_FUNC && symbol.st_shndx != SHN_UNDEF
            && std::string_view(names + symbol.st_name) == "__vdso_getrandom")
            return reinterpret_cast<VdsoGetrandom>(load + symbol.st_value);
    }
    return nullptr;
}

VdsoGetrandom VdsoFunction()
{
    static const VdsoGetrandom function = FindVdsoGetrandom();
    return function;
}

[[noreturn]] void GeneratorFailed(int error)
{
    std::fprintf(stderr, "tarvelle: the system random generator failed: %s\n", std::strerror(error));
    std::abort();
}

} // namespace

SystemBytes::SystemBytes(Way way)
{
    const VdsoGetrandom function = way == Way::Best ? VdsoFunction() : nullptr;
    if (function == nullptr)
        return;
    VdsoStateParams params;
    if (function(nullptr, 0, 0, &params, ~size_t {0}) != 0 || params.sizeOfOpaqueState == 0)
        return;
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    // One state in memory of its own, so it never straddles a page; the kernel's flags make the memory
    // wiped on fork and droppable under pressure, both of which the vDSO notices and recovers from.
    const size_t size = (params.sizeOfOpaqueState + page - 1) / page * page;
    void* state = mmap(nullptr, size, static_cast<int>(params.mmapProt), static_cast<int>(params.mmapFlags), -1, 0);
    if (state == MAP_FAILED)
        return;
    state_ = state;
    stateSize_ = params.sizeOfOpaqueState;
    mappedSize_ = size;
}

SystemBytes::~SystemBytes()
{
    if (state_ != nullptr) {
        // The state holds the key of bytes not yet handed out.
        explicit_bzero(state_, stateSize_);
        munmap(state_, mappedSize_);
    }
}

void SystemBytes::Fill(uint8_t* data, size_t size)
{
    size_t filled = 0;
    while (filled < size) {
        ssize_t got = 0;
        int error = 0;
        if (state_ != nullptr) {
            got = VdsoFunction()(data + filled, size - filled, 0, state_, stateSize_);
            error = got < 0 ? static_cast<int>(-got) : 0;
        } else {
            got = getrandom(data + filled, size - filled, 0);
            error = got < 0 ? errno : 0;
        }
        if (got > 0)
            filled += static_cast<size_t>(got);
        else if (got < 0 && error != EINTR)
            GeneratorFailed(error);
    }
}

} // namespace tarvelle
