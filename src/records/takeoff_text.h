#pragma once

#include "records/records.h"

#include <string>
#include <string_view>

namespace kerbina {

// The text form of a take-off entry, used by the take-off copy files, the take-off parts and the
// <PICKUP> section of quotation files: its fields in record order, each followed by ";", with the
// name and the 仕様 as two fields:
//   sheet; origin; system; name; specification; laborFactor; sortCode; unit; kind; category;
//   netQuantity; submittedQuantity; netPrice; submittedPrice; netCompositePrice;
//   submittedCompositePrice; note; spareValue; netBaseCost; submittedBaseCost; netFitting;
//   submittedFitting; amountText; ductWidth; ductHeight; ductLength; mode1; mode2; pipeMode;
//   place; area; ductValue2; correction; ductValue4; ratioPipe; ratioFitting; ratioJoint;
//   ratioSupport; ratioChipping; ratioOther; priceCode;
// Texts lose their line breaks, and a ";" inside a text is written as "；".
std::string takeoffToText(const TakeoffRecord& entry);

// Reads the text form. Missing fields read as empty; Currency fields accept "" as 0 and raise
// NumberFormatError for anything else that is not a number; integer fields that are not numbers
// read as 0; texts are cut to their field widths.
TakeoffRecord takeoffFromText(std::string_view text);

} // namespace kerbina
