// Every text of the exercise, as the student reads it. The literals are UTF-8 here and become
// Windows-1250 bytes at compile time.
#pragma once

#include "cp1250.hpp"

namespace rtg::texts {

using cp1250::text;

// Opening
inline constexpr text title{
    "Program weryfikujący poprawność obliczeń do ćwiczenia nr 2 - Rentgenografia\n"};
inline constexpr text version{"Wersja 2.0 \n"};
inline constexpr text credit{
    "Opracowanie: Pracownia Fizyki Ciała Stałego, Laboratorium Fizyki \n\n\n"};
inline constexpr text welcome{"Witam w programie\n\n"};
inline constexpr text what_is_verified{
    "Zweryfikujemy tutaj poprawność identyfikacji materiału anody\n\n"};
inline constexpr text in_particular{"w szczególności \n\n"};
inline constexpr text energies_verified{
    "poprawność obliczeń energii linii K-alfa oraz K-beta promieniowania "
    "charakterystycznego\n\n\n"};
inline constexpr text lets_begin{"Zatem zaczynamy! \n\n"};
inline constexpr text attention{"UWAGA!\n\n"};
inline constexpr text decimal_point_rule{
    "ZAMIAST PRZECINKA UŻYWAMY KROPKI DZIESIĘTNEJ\n\tczyli np. zamiast 7,3 proszę wpisać 7.3.\n\n"};
inline constexpr text precision_rule{
    "Proszę podawać wyniki długości fali oraz energii w femtodżulach z dokładnością do 4 miejsca "
    "po przecinku\n\n"};
inline constexpr text spacing_question{
    "Jaka odległość pomiędzy płaszczyznami krystalograficznymi została podana do obliczeń (w "
    "pikometrach)?:\n\n"};

// Crystal spacing
inline constexpr text spacing_prompt{"d_obl [pm] = "};
inline constexpr text spacing_retry_prompt{"d_obl = "};
inline constexpr text spacing_out_of_range{"Takiej wartości raczej nie uzyskamy\n"};
inline constexpr text spacing_enter_again{"Proszę wpisać ponownie\n\n"};

// Any prompt, for an entry that is not a number
inline constexpr text not_a_number{"Dla programu to nie jest liczba tylko ciąg znaków\n"};
inline constexpr text use_decimal_point{
    "Zamiast przecinka użyj kropki dziesiętnej (np. 7.3 a nie 7,3)\n\n"};

// K-alpha line
inline constexpr text k_alpha_intro{"Przechodzimy zatem do obliczeń energii linii K-alfa.\n\n"};
inline constexpr text k_alpha_angle_question{"Jaki mamy kąt obserwacji linii K-alfa?\n\n"};
inline constexpr text k_alpha_angle_prompt{"Theta_alfa = "};
inline constexpr text k_alpha_other_line{"To prawdopodobnie jest kąt obserwacji linii K-beta.\n"};
inline constexpr text k_alpha_other_line_why{
    "Linię K-alfa obserwujemy pod większym kątem niż K-beta (mniejsza energia, zatem większa "
    "długość fali)\n"};
inline constexpr text k_alpha_other_line_again{"Proszę wpisać ponownie \n\n"};
inline constexpr text k_alpha_invalid_angle{
    "Nieprawidłowa wartość kąta.\nProszę wpisać ponownie\n\n"};
inline constexpr text k_alpha_wavelength_question{
    "Jaka jest długość fali promieniowania linii K-alfa w pikometrach? \n\n"};
inline constexpr text k_alpha_wavelength_prompt{"Lambda_alfa [pm] = "};
inline constexpr text k_alpha_fj_question{
    "Jaka jest wartość energii w femtodżulach (10^-15 J) promieniowania linii K-alfa?\n\n"};
inline constexpr text k_alpha_fj_prompt{"EJ_alfa [fJ] = "};
inline constexpr text k_alpha_ev_question{
    "Zgadza się. \n\nJaka jest wartość energii promieniowania K-alfa w elektronowoltach [eV]? "
    "\n\n"};
inline constexpr text k_alpha_ev_prompt{"E_alfa [eV] = "};
inline constexpr text k_alpha_closing{"Bardzo dobrze. \n\n"};

// K-beta line
inline constexpr text k_beta_intro{"Przechodzimy zatem do obliczeń energii linii K-beta.\n\n"};
inline constexpr text k_beta_angle_question{"Jaki mamy kąt obserwacji linii K-beta?\n\n"};
inline constexpr text k_beta_angle_prompt{"Theta_beta = "};
inline constexpr text k_beta_other_line{"To prawdopodobnie jest kąt obserwacji linii K-alfa.\n"};
inline constexpr text k_beta_other_line_why{
    "Linię K-beta obserwujemy pod mniejszym kątem niż K-alfa (większa energia, zatem mniejsza "
    "długość fali)\n"};
inline constexpr text k_beta_other_line_again{"Wpisz ponownie \n\n"};
inline constexpr text k_beta_invalid_angle{"Nieprawidłowa wartość kąta.\nWpisz ponownie\n\n"};
inline constexpr text k_beta_wavelength_question{
    "Jaka jest długość fali promieniowania linii K-beta w pikometrach? \n\n"};
inline constexpr text k_beta_wavelength_prompt{"Lambda_beta [pm] = "};
inline constexpr text k_beta_fj_question{
    "Jaka jest wartość energii w femtodżulach (10^-15 J) promieniowania linii K-beta?\n\n"};
inline constexpr text k_beta_fj_prompt{"EJ_beta [fJ] = "};
inline constexpr text k_beta_ev_question{
    "Zgadza się. \n\nJaka jest wartość energii promieniowania linii K-beta w elektronowoltach "
    "[eV]? \n\n"};
inline constexpr text k_beta_ev_prompt{"E_beta [eV] = "};
inline constexpr text k_beta_closing{"Bardzo dobrze - obliczenia są poprawne. \n\n"};

// Both lines
inline constexpr text wavelength_accepted{"Zgadza się.\n\n"};
inline constexpr text radian_mode{
    "Twój kalkulator przyjmuje argument funkcji trygonometrycznej w radianach. \n"};
inline constexpr text radian_mode_fix{
    "Zmień w ustawieniach kalkulatora radiany na stopnie (RAD->DEG)\n\n"};
inline constexpr text grad_mode{
    "Twój kalkulator przyjmuje argument funkcji trygonometrycznej w gradach. \n"};
inline constexpr text grad_mode_fix{
    "Zmień w ustawieniach kalkulatora grady na stopnie (GRAD->DEG)\n\n"};
inline constexpr text result_refused{
    "Wynik jest niepoprawny lub niedokładny. \n\nSprawdź obliczenia lub podaj wynik z dokładnością "
    "do 4 miejsc po kropce dziesiętnej\n\n"};
inline constexpr text ev_result_refused{
    "Wynik jest niepoprawny lub niedokładny. \n\nSprawdź obliczenia lub podaj wynik z dokładnością "
    "do 1 elektronowolta\n\n"};

// Anode and closing
inline constexpr text anode_question{
    "Jaki zatem pierwiastek jest materiałem anody? Podaj jego liczbę atomową:\n\n"};
inline constexpr text atomic_number_prompt{"Z = "};
inline constexpr text anode_hint{
    "Sprawdź parametry sąsiednich pierwiastków - temperaturę topnienia oraz przewodnictwo cieplne "
    "- i wpisz ponownie.\n\n"};
inline constexpr text all_correct{
    "Bardzo dobrze - wszystko się zgadza. \n\n Teraz postępuj zgodnie z dalszymi instrukcjami na "
    "liście zadań\n\n"};
inline constexpr text press_any_key{"Naciśnij dowolny klawisz aby zamknąć program. "};

// Standard error, when the input ends before the exercise does
inline constexpr text input_ended{"Dane wejściowe skończyły się przed ukończeniem ćwiczenia.\n"};

}  // namespace rtg::texts
