// The physics of the exercise and the rules that judge the answers.
//
// Every step is carried out in the precision named beside it and in the order written: the
// verdicts on answers a student can type depend on it, so none of these may be folded,
// reordered or widened.
#pragma once

namespace rtg::model {

inline constexpr double pi = 3.141592653589793;
inline constexpr double degrees_per_half_turn = 180.0;
inline constexpr double degrees_per_full_turn = 360.0;
inline constexpr double grads_per_full_turn = 400.0;
inline constexpr double hc_fj_pm = 198.78;  // h·c in fJ·pm, as the exercise sheet rounds it
inline constexpr float fj_to_ev_factor = 10000.0F;
inline constexpr double elementary_charge = 1.602;            // in units of 10^-19 C
inline constexpr double answer_tolerance = 0.02;              // pm for wavelengths, fJ for energies
inline constexpr double calculator_window_half_width = 0.02;  // pm
inline constexpr float ev_tolerance = 50.0F;                  // eV

// The wavelengths of one line for the accepted angle, in pm.
struct line_expectations {
  float expected;     // Bragg's law with the angle in degrees
  float radian_mode;  // what a calculator set to radians gives for the same typed angle
  float grad_mode;    // what a calculator set to grads gives
};

// d in pm and theta in degrees; the result in pm.
float bragg_wavelength(float d, float theta);
float radian_mode_wavelength(float d, float theta);
float grad_mode_wavelength(float d, float theta);
line_expectations expectations_for(float d, float theta);

// Photon energy in fJ from a wavelength in pm, and in eV from an energy in fJ.
float energy_fj(float lambda);
float energy_ev(float e_fj);

// A wavelength or femtojoule answer within 0.02 of the expected value.
bool accepts_answer(float expected, float answer);
// An electronvolt answer within 50 eV, inclusive.
bool accepts_ev_answer(float expected, float answer);
// Whether an answer lies strictly within 0.02 pm of a calculator-mode wavelength.
bool in_calculator_window(float mode_wavelength, float answer);

}  // namespace rtg::model
