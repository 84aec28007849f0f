// printviewer: lays quotations out as a 見積書 (cover, breakdown, detail sheets) and writes a PDF
// (--pdf) or shows a print preview with "印刷" and "PDF保存".
#include "base/folders.h"
#include "base/path_text.h"
#include "base/user_error.h"
#include "output/print_data.h"
#include "printviewer/preview_window.h"
#include "printviewer/quotation_pages.h"
#include "printviewer/viewer_request.h"

#include <QApplication>
#include <QMessageBox>
#include <iostream>
#include <string_view>

namespace {

using namespace kerbina;

int fail(const std::string& message, bool windowed) {
    if (windowed) {
        QMessageBox::warning(nullptr, QStringLiteral("印刷プレビュー"),
                             QString::fromStdString(message));
    } else {
        std::cerr << message << '\n';
    }
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    // A PDF needs no screen: scripts and tests run it where there is none.
    if (argc > 1 && std::string_view(argv[1]) == "--pdf" &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    std::vector<std::string> arguments;
    for (int n = 1; n < argc; ++n) {
        arguments.emplace_back(argv[n]);
    }
    const std::optional<ViewerRequest> request = parseViewerCommandLine(arguments);
    if (!request) {
        std::cerr << kViewerUsage << '\n';
        return 2;
    }
    const bool windowed = !request->pdfFile;

    try {
        const std::filesystem::path root =
            request->handoff ? request->handoff->dataRoot : dataRoot();
        PrintSettings settings = readPrintSettings(root);
        if (request->handoff) {
            settings.reductionMark = request->handoff->reductionMark;
        }
        const std::vector<QuotationData> quotations = requestedQuotations(*request, root);
        if (quotations.empty()) {
            return fail("印刷するデータがありません: " + pathText(printFolder(root)), windowed);
        }
        QuotationPages pages(settings);
        for (const QuotationData& quotation : quotations) {
            pages.add(quotation);
        }
        if (request->pdfFile) {
            if (!writePdf(pages, QString::fromStdString(pathText(*request->pdfFile)))) {
                return fail("PDFファイルを書き込めませんでした: " + pathText(*request->pdfFile),
                            false);
            }
            return 0;
        }
        PreviewWindow window(std::make_unique<QuotationPages>(std::move(pages)));
        window.show();
        return QApplication::exec();
    } catch (const UserError& error) {
        return fail(error.what(), windowed);
    }
}
