// kerbina-cli: the quotation engine from the command line.
#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kUsage = R"(Usage: kerbina-cli COMMAND [OPTIONS]

Commands:
  --version    print the version and exit
  --help       print this help and exit
)";

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string_view command = argv[1];
    if (command == "--version") {
        std::cout << "kerbina-cli " << KERBINA_VERSION << '\n';
        return 0;
    }
    if (command == "--help" || command == "-h") {
        std::cout << kUsage;
        return 0;
    }
    std::cerr << "kerbina-cli: unknown command: " << command << "\n\n" << kUsage;
    return 2;
}
