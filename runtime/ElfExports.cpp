#include "runtime/ElfExports.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <vector>

namespace gr {
namespace {

// Far beyond the symbol table of any real library; a corrupt size is no table.
constexpr uint64_t kMaxTableBytes = uint64_t{1} << 28;

template <class T>
bool readAt(std::ifstream& in, uint64_t offset, T* items, std::size_t count = 1) {
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(reinterpret_cast<char*>(items), static_cast<std::streamsize>(sizeof(T) * count));
  return static_cast<bool>(in);
}

bool endsWith(const char* name, std::size_t length, const std::string& suffix) {
  return length >= suffix.size() &&
         std::memcmp(name + length - suffix.size(), suffix.data(), suffix.size()) == 0;
}

// The section headers lead to .dynsym and, over its sh_link, to its names.
template <class Ehdr, class Shdr, class Sym>
bool scanDynamicSymbols(std::ifstream& in, const std::string& suffix) {
  Ehdr header{};
  if (!readAt(in, 0, &header) || header.e_shentsize != sizeof(Shdr)) return false;
  std::vector<Shdr> sections(header.e_shnum);
  if (sections.empty() || !readAt(in, header.e_shoff, sections.data(), sections.size()))
    return false;
  for (const Shdr& section : sections) {
    if (section.sh_type != SHT_DYNSYM || section.sh_link >= sections.size()) continue;
    const Shdr& names = sections[section.sh_link];
    if (names.sh_size > kMaxTableBytes || section.sh_size > kMaxTableBytes) return false;
    std::vector<char> text(names.sh_size + 1, '\0');
    std::vector<Sym> symbols(section.sh_size / sizeof(Sym));
    if (!readAt(in, names.sh_offset, text.data(), names.sh_size) ||
        !readAt(in, section.sh_offset, symbols.data(), symbols.size()))
      return false;
    for (const Sym& symbol : symbols) {
      if (symbol.st_shndx == SHN_UNDEF || symbol.st_name >= names.sh_size) continue;
      const char* name = text.data() + symbol.st_name;
      if (endsWith(name, std::strlen(name), suffix)) return true;
    }
  }
  return false;
}

}  // namespace

bool exportsSymbolEndingWith(const std::string& file, const std::string& suffix) {
  std::ifstream in(file, std::ios::binary);
  unsigned char ident[EI_NIDENT] = {};
  if (!readAt(in, 0, ident, EI_NIDENT) || std::memcmp(ident, ELFMAG, SELFMAG) != 0) return false;
  if (ident[EI_CLASS] == ELFCLASS64)
    return scanDynamicSymbols<Elf64_Ehdr, Elf64_Shdr, Elf64_Sym>(in, suffix);
  if (ident[EI_CLASS] == ELFCLASS32)
    return scanDynamicSymbols<Elf32_Ehdr, Elf32_Shdr, Elf32_Sym>(in, suffix);
  return false;
}

}  // namespace gr
