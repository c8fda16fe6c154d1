#pragma once
// Strengths: how much a constraint counts. Plain numbers; the solver
// minimises the strength-weighted sum of the errors of the constraints that
// are not required.

namespace solver {

// The strength of a constraint that must hold exactly.
inline constexpr double requiredStrength = 1001001000.0;

// The strength clipped into [0, requiredStrength]. NaN counts as the weakest
// strength, 0: a NaN weight would poison every comparison in the objective.
constexpr double clipStrength(double strength) {
    if (strength >= requiredStrength) return requiredStrength;
    if (strength > 0.0) return strength;
    return 0.0;
}

}  // namespace solver
