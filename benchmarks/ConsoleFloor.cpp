// The least console program writing a report: as many bytes as the report
// holds, to standard output, in one write.
//
//   console_floor.exe COUNT
#include <windows.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const std::string bytes(argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 0, 'r');
  DWORD written = 0;
  return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
                   &written, nullptr)
             ? 0
             : 1;
}
