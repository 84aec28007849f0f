// dataprint: prints the unit-cost breakdown list (代価表) that the program leaves in
// print_Data.dat, as a PDF (--pdf) or in a print preview with "印刷" and "PDF保存".
#include "base/path_text.h"
#include "base/user_error.h"
#include "output/print_data.h"
#include "printviewer/preview_window.h"
#include "printviewer/print_program.h"
#include "printviewer/unit_cost_pages.h"
#include "printviewer/viewer_request.h"
#include "widgets/japanese_translations.h"

#include <QApplication>
#include <iostream>
#include <string_view>

int main(int argc, char* argv[]) {
    using namespace kerbina;
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUnitCostPrinterUsage << '\n';
        return 0;
    }
    const bool pdf = argc > 1 && std::string_view(argv[1]) == "--pdf";
    const int argumentAt = pdf ? 3 : 1;
    const auto dataRoot =
        argc == argumentAt + 1 ? parseUnitCostPrinterArgument(argv[argumentAt]) : std::nullopt;
    if (!dataRoot) {
        std::cerr << kUnitCostPrinterUsage << '\n';
        return 2;
    }
    quietQtNotices();
    const QString caption = QStringLiteral("代価表印刷");
    if (const auto problem = choosePlatform(!pdf)) {
        std::cerr << "dataprint: " << *problem << '\n';
        return 1;
    }
    QApplication application(argc, argv);
    installJapaneseTranslations(application);
    const std::filesystem::path input =
        printFolder(*dataRoot) / std::string(kUnitCostPrintFileName);
    try {
        auto pages = std::make_unique<UnitCostPages>(readUnitCostPrintData(*dataRoot));
        if (pdf) {
            writePdf(*pages, pathFromText(argv[2]), {input});
            return 0;
        }
        PreviewWindow window(std::move(pages), suggestedPdfFile(*dataRoot, "", "代価表.pdf"),
                             {input});
        window.setWindowTitle(caption);
        window.show();
        return QApplication::exec();
    } catch (const UserError& error) {
        return reportFailure("dataprint", caption, error.what(), !pdf);
    }
}
