#include "core/text/UserLayout.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace kestrano {

// A runaway expression gives up after this many steps, as find's do.
constexpr uint32_t MatchLimit = 1000000;

struct UserLayout::Compiled {
    pcre2_code* code = nullptr;
    pcre2_match_data* data = nullptr;
    pcre2_match_context* context = nullptr;
    int32_t timeGroup = -1;
    int32_t levelGroup = -1;
    ~Compiled()
    {
        pcre2_match_context_free(context);
        pcre2_match_data_free(data);
        pcre2_code_free(code);
    }
};

UserLayout::UserLayout(const std::string& expression)
    : expression(expression)
{
    auto made = std::make_unique<Compiled>();
    int error = 0;
    PCRE2_SIZE offset = 0;
    made->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.data()), expression.size(),
        PCRE2_ANCHORED | PCRE2_UTF | PCRE2_MATCH_INVALID_UTF, &error, &offset, nullptr);
    if (!made->code)
        return;
    pcre2_jit_compile(made->code, PCRE2_JIT_COMPLETE);
    made->data = pcre2_match_data_create_from_pattern(made->code, nullptr);
    made->context = pcre2_match_context_create(nullptr);
    if (!made->data || !made->context)
        return;
    pcre2_set_match_limit(made->context, MatchLimit);
    made->timeGroup = pcre2_substring_number_from_name(made->code, reinterpret_cast<PCRE2_SPTR>("time"));
    made->levelGroup = pcre2_substring_number_from_name(made->code, reinterpret_cast<PCRE2_SPTR>("level"));
    const int messageGroup
        = pcre2_substring_number_from_name(made->code, reinterpret_cast<PCRE2_SPTR>("message"));
    if (made->timeGroup < 0 && made->levelGroup < 0 && messageGroup < 0)
        return;
    compiled = std::move(made);
}

UserLayout::~UserLayout() = default;

bool UserLayout::match(const char* line, int32_t length, Match& groups) const
{
    groups = {};
    if (!compiled)
        return false;
    const int result = pcre2_match(compiled->code, reinterpret_cast<PCRE2_SPTR>(line),
        static_cast<PCRE2_SIZE>(length), 0, 0, compiled->data, compiled->context);
    if (result <= 0)
        return false;
    const PCRE2_SIZE* range = pcre2_get_ovector_pointer(compiled->data);
    const auto count = static_cast<int32_t>(pcre2_get_ovector_count(compiled->data));
    auto group = [&](int32_t number, const char*& text, int32_t& textLength) {
        if (number < 0 || number >= count || range[2 * number] == PCRE2_UNSET)
            return;
        text = line + range[2 * number];
        textLength = static_cast<int32_t>(range[2 * number + 1] - range[2 * number]);
    };
    group(compiled->timeGroup, groups.time, groups.timeLength);
    group(compiled->levelGroup, groups.level, groups.levelLength);
    return true;
}

} // namespace kestrano
