// Feeds arbitrary bytes to the settings reader: a refusal is one line; an accepted file,
// written back, read again and written again, gives the same text; a value a rule
// accepts is accepted again, unchanged, in its normalised form.
#include <cstdint>
#include <cstdlib>

#include "runtime/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static constexpr SettingRule rules[] = {
        {"a", "no", SettingKind::YesNo, nullptr}, {"b", "0", SettingKind::Whole, "-5..9223372036854775807"},
        {"c", "1", SettingKind::Decimal, "-99999999999999..0.25"}, {"d", "x", SettingKind::Word, "x|Yz"}};
    const SettingsParse parse = ParseSettings({reinterpret_cast<const char*>(data), size});
    if (!parse.ok) {
        if (parse.error.empty() || parse.error.find('\n') != std::string::npos) std::abort();
        return 0;
    }
    Settings settings;
    settings.file = parse.text;
    const std::string text = SettingsFileText(settings, {}, "t");
    const SettingsParse again = ParseSettings(text);
    if (!again.ok) std::abort();
    settings.file = again.text;
    if (SettingsFileText(settings, {}, "t") != text) std::abort();
    for (const SettingLine& line : parse.text.lines)
        for (const SettingRule& rule : rules)
            if (const auto value = CheckSetting(rule, line.value)) {
                const auto normal = CheckSetting(rule, value->text);
                if (!normal || normal->text != value->text || normal->whole != value->whole ||
                    normal->number != value->number)
                    std::abort();
            }
    return 0;
}
