#pragma once

#include <QString>

#include <optional>

// The rule of the dialog TfmKbrDaPagare66 ("Bonus Irpef"), which asks for one
// employee how many settlements the bonus or deduction is spread over.
namespace KbrDaPagare66 {

inline constexpr const char16_t *kCaption = u"Bonus Irpef";
inline constexpr const char16_t *kPrompt = u"Liquidazioni su cui suddividere il bonus/detrazione";
// Shown, the dialog staying open, when the text is not a valid number.
inline constexpr const char16_t *kInvalid = u"Valore errato";

// The number of settlements typed in the edit: an integer of at least 1,
// blanks around it allowed; nothing otherwise.
std::optional<int> settlements(const QString &text);

} // namespace KbrDaPagare66
