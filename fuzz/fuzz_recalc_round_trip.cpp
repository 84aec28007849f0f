// Every quotation the reader takes, recomputed with any calculation settings, must either stop at
// an amount beyond the money range (the overflow error the program reports) or give totals that
// write a file the strict reader accepts and that reads back as itself; recomputing what was read
// back must change nothing.
#include "base/text_codec.h"
#include "calc/totals.h"
#include "document/quotation_file.h"
#include "fuzz_support.h"
#include "money/calc_settings.h"

#include <cstdint>
#include <string>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        kerbina::fuzz::fault("fuzz_recalc_round_trip", what);
    }
}

// Settings the settings file can give, chosen by the input's last bytes.
kerbina::CalcSettings settingsOf(const std::uint8_t* bytes, std::size_t size) {
    const auto choice = [&](std::size_t back, int options) {
        return size > back ? static_cast<int>(bytes[size - 1 - back] % options) : 0;
    };
    kerbina::CalcSettings settings;
    settings.quantityDecimals = *kerbina::quantityDecimalsFromOptionIndex(choice(0, 3));
    settings.amountOffset = *kerbina::offsetFromOptionIndex(choice(1, 3));
    settings.expenseOffset = *kerbina::offsetFromOptionIndex(choice(2, 3));
    settings.laborOffset = *kerbina::offsetFromOptionIndex(choice(3, 3));
    settings.totalLevel = *kerbina::levelFromOptionIndex(choice(4, 10));
    settings.totalOffset = *kerbina::offsetFromOptionIndex(choice(5, 3));
    settings.taxOffset = *kerbina::offsetFromOptionIndex(choice(6, 3));
    settings.grandTotalLevel = *kerbina::levelFromOptionIndex(choice(7, 10));
    settings.grandTotalOffset = *kerbina::offsetFromOptionIndex(choice(8, 3));
    settings.grandTotalExpenseOffset = *kerbina::offsetFromOptionIndex(choice(9, 3));
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    kerbina::QuotationData data;
    try {
        data = kerbina::readQuotationTextLeniently(
                   kerbina::fromCp932(kerbina::fuzz::bytesOf(bytes, size)))
                   .data;
    } catch (const kerbina::QuotationFileError&) {
        return 0;
    }
    const kerbina::CalcSettings settings = settingsOf(bytes, size);
    kerbina::QuotationWriteOptions options;
    options.itemNameLine = size % 2 == 0;
    try {
        kerbina::recalculateQuotation(data, settings, options.itemNameLine);
    } catch (const kerbina::CurrencyOverflow&) {
        return 0;
    }

    // A damaged file may keep lines the reader could not place, which settle in their order
    // after the first write; from then on the file stays as it is.
    kerbina::QuotationData read;
    try {
        read = kerbina::readQuotationText(kerbina::writeQuotationText(data, options));
    } catch (const kerbina::QuotationFileError&) {
        kerbina::fuzz::fault("fuzz_recalc_round_trip", "a recomputed quotation was rejected");
    }
    const std::string written = kerbina::writeQuotationText(read, options);
    try {
        check(kerbina::writeQuotationText(kerbina::readQuotationText(written), options) == written,
              "a recomputed quotation did not read back as itself");
        kerbina::recalculateQuotation(read, settings, options.itemNameLine);
    } catch (const kerbina::QuotationFileError&) {
        kerbina::fuzz::fault("fuzz_recalc_round_trip", "a recomputed quotation was rejected");
    } catch (const kerbina::CurrencyOverflow&) {
        kerbina::fuzz::fault("fuzz_recalc_round_trip", "recomputing again overflowed");
    }
    check(kerbina::writeQuotationText(read, options) == written,
          "recomputing a recomputed quotation changed it");
    return 0;
}
