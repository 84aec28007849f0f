// printviewer: lays quotations out as a 見積書 (cover, breakdown, detail sheets) and writes a PDF
// (--pdf) or shows a print preview with "印刷" and "PDF保存".
#include "base/folders.h"
#include "base/path_text.h"
#include "base/user_error.h"
#include "output/print_data.h"
#include "printviewer/preview_window.h"
#include "printviewer/print_program.h"
#include "printviewer/quotation_pages.h"
#include "printviewer/viewer_request.h"
#include "widgets/japanese_translations.h"

#include <QApplication>
#include <algorithm>
#include <iostream>

int main(int argc, char* argv[]) {
    using namespace kerbina;
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const std::optional<ViewerRequest> request = parseViewerCommandLine(arguments);
    if (!request) {
        std::cerr << kViewerUsage << '\n';
        return 2;
    }
    if (request->help) {
        std::cout << kViewerUsage << '\n';
        return 0;
    }
    const bool windowed = !request->pdfFile;
    quietQtNotices();
    const QString caption = QStringLiteral("印刷プレビュー");
    if (const auto problem = choosePlatform(windowed)) {
        std::cerr << "printviewer: " << *problem << '\n';
        return 1;
    }
    QApplication application(argc, argv);
    installJapaneseTranslations(application);
    try {
        const std::filesystem::path root =
            request->handoff ? request->handoff->dataRoot : dataRoot();
        PrintSettings settings = readPrintSettings(root);
        if (request->handoff) {
            settings.reductionMark = request->handoff->reductionMark;
        }
        std::vector<QuotationData> quotations = requestedQuotations(*request, root);
        if (quotations.empty()) {
            return reportFailure("printviewer", caption,
                                 "印刷するデータがありません: " + pathText(printFolder(root)),
                                 windowed);
        }
        const std::string number = quotations.front().header.number;
        auto pages = std::make_unique<QuotationPages>(settings);
        for (QuotationData& quotation : quotations) {
            pages->add(std::move(quotation));
        }
        if (request->pdfFile) {
            writePdf(*pages, *request->pdfFile, requestInputs(*request));
            return 0;
        }
        PreviewWindow window(std::move(pages), suggestedPdfFile(root, number, "御見積書.pdf"),
                             requestInputs(*request));
        window.show();
        return QApplication::exec();
    } catch (const UserError& error) {
        return reportFailure("printviewer", caption, error.what(), windowed);
    }
}
