// Students who calculate correctly are never refused, and calculator-mode slips are named.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "entries.hpp"
#include "model.hpp"

namespace rtg {
namespace {

constexpr double pi = 3.141592653589793;

// What the student types, and what the program then holds.
struct typed {
  std::string text;
  float value;
};

typed type(const char* format, double value) {
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), format, value);
  std::string text(buffer.data());
  input_buffer in = input_buffer::over(text);
  const real_entry entry = read_real_entry(in);
  EXPECT_EQ(entry.kind, entry_kind::number) << text;
  return {text, entry.value};
}

struct angle_range {
  double low;
  double high;
};

// Both accepted windows, in hundredths of a degree; 7.8 itself reads as just above K-alpha's.
constexpr angle_range k_alpha_angles{7.00, 7.79};
constexpr angle_range k_beta_angles{6.00, 7.00};

template <typename Check>
void sweep(Check check) {
  for (int tenth_pm = 2500; tenth_pm <= 3100; tenth_pm += 5) {
    const typed d = type("%.1f", tenth_pm / 10.0);
    for (const angle_range range : {k_alpha_angles, k_beta_angles}) {
      const int first = static_cast<int>(std::lround(range.low * 100));
      const int last = static_cast<int>(std::lround(range.high * 100));
      for (int hundredth = first; hundredth <= last; ++hundredth) {
        check(d, type("%.2f", hundredth / 100.0));
      }
    }
  }
}

TEST(careful_student, computing_in_double_and_typing_four_decimals_is_accepted_throughout) {
  sweep([](const typed& d, const typed& theta) {
    const double d_exact = std::stod(d.text);
    const double theta_exact = std::stod(theta.text);
    const model::line_expectations wavelengths = model::expectations_for(d.value, theta.value);

    const typed lambda = type("%.4f", 2.0 * d_exact * std::sin(theta_exact * pi / 180.0));
    ASSERT_TRUE(model::accepts_answer(wavelengths.expected, lambda.value))
        << d.text << " pm, " << theta.text << " deg: " << lambda.text;

    const typed fj = type("%.4f", 198.78 / std::stod(lambda.text));
    ASSERT_TRUE(model::accepts_answer(model::energy_fj(lambda.value), fj.value))
        << d.text << " pm, " << theta.text << " deg: " << fj.text << " fJ";

    const typed ev = type("%.0f", std::stod(fj.text) * 10000.0 / 1.602);
    ASSERT_TRUE(model::accepts_ev_answer(model::energy_ev(fj.value), ev.value))
        << d.text << " pm, " << theta.text << " deg: " << ev.text << " eV";
  });
}

TEST(calculator_slips, are_accepted_or_named_for_the_mode_that_made_them) {
  sweep([](const typed& d, const typed& theta) {
    const double d_exact = std::stod(d.text);
    const double theta_exact = std::stod(theta.text);
    const model::line_expectations wavelengths = model::expectations_for(d.value, theta.value);
    const auto accepted = [&](const typed& answer) {
      return model::accepts_answer(wavelengths.expected, answer.value);
    };

    const typed radians = type("%.4f", 2.0 * d_exact * std::sin(theta_exact));
    EXPECT_TRUE(accepted(radians) ||
                model::in_calculator_window(wavelengths.radian_mode, radians.value))
        << d.text << " pm, " << theta.text << " deg: " << radians.text;

    // The radian window is looked at first, so a grad slip is named only outside it.
    const typed grads = type("%.4f", 2.0 * d_exact * std::sin(theta_exact * pi / 200.0));
    EXPECT_TRUE(accepted(grads) ||
                (!model::in_calculator_window(wavelengths.radian_mode, grads.value) &&
                 model::in_calculator_window(wavelengths.grad_mode, grads.value)))
        << d.text << " pm, " << theta.text << " deg: " << grads.text;
  });
}

}  // namespace
}  // namespace rtg
