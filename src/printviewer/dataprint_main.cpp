// dataprint: prints the unit-cost breakdown list (代価表) that the program leaves in
// print_Data.dat, as a PDF (--pdf) or in a print preview with "印刷" and "PDF保存".
#include "base/path_text.h"
#include "base/user_error.h"
#include "printviewer/preview_window.h"
#include "printviewer/unit_cost_pages.h"
#include "printviewer/viewer_request.h"

#include <QApplication>
#include <QMessageBox>
#include <iostream>
#include <string_view>

int main(int argc, char* argv[]) {
    using namespace kerbina;
    // A PDF needs no screen: scripts and tests run it where there is none.
    const bool pdf = argc > 1 && std::string_view(argv[1]) == "--pdf";
    if (pdf && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int argumentAt = pdf ? 3 : 1;
    if (argc != argumentAt + 1) {
        std::cerr << kUnitCostPrinterUsage << '\n';
        return 2;
    }
    const auto dataRoot = parseUnitCostPrinterArgument(argv[argumentAt]);
    if (!dataRoot) {
        std::cerr << kUnitCostPrinterUsage << '\n';
        return 2;
    }
    const auto fail = [pdf](const std::string& message) {
        if (pdf) {
            std::cerr << message << '\n';
        } else {
            QMessageBox::warning(nullptr, QStringLiteral("代価表印刷"),
                                 QString::fromStdString(message));
        }
        return 1;
    };
    try {
        auto pages = std::make_unique<UnitCostPages>(readUnitCostPrintData(*dataRoot));
        if (pdf) {
            if (!writePdf(*pages, QString::fromLocal8Bit(argv[2]))) {
                return fail(std::string("PDFファイルを書き込めませんでした: ") + argv[2]);
            }
            return 0;
        }
        PreviewWindow window(std::move(pages));
        window.setWindowTitle(QStringLiteral("代価表印刷"));
        window.show();
        return QApplication::exec();
    } catch (const UserError& error) {
        return fail(error.what());
    }
}
