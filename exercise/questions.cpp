#include "questions.hpp"

#include "texts.hpp"

namespace rtg {

namespace {

template <typename Read>
auto ask(console& con, std::string_view prompt, std::string_view line_ends, Read read)
    -> std::optional<decltype(read().value)> {
  for (;;) {
    con.write_text(prompt);
    const auto entry = read();
    if (entry.kind == entry_kind::input_ended) {
      return std::nullopt;
    }
    con.write_text(line_ends);
    if (entry.kind == entry_kind::number) {
      return entry.value;
    }
    con.write_text(texts::not_a_number);
    con.write_text(texts::use_decimal_point);
  }
}

}  // namespace

std::optional<float> ask_real(console& con, std::string_view prompt, std::string_view line_ends) {
  return ask(con, prompt, line_ends, [&con] { return con.read_real(); });
}

std::optional<std::int32_t> ask_integer(console& con, std::string_view prompt,
                                        std::string_view line_ends) {
  return ask(con, prompt, line_ends, [&con] { return con.read_integer(); });
}

}  // namespace rtg
