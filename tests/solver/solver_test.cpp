// The solver's behaviour through its public functions: known answers, the
// edge cases of required constraints and edit variables, and its errors.

#include "solver/solver.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "runtime/errors.h"
#include "tests/solver/solver_test_support.h"

namespace {

using namespace solver;
using solvertest::difference;
using solvertest::linear;
using solvertest::tableauText;

ConstraintRef required(const ExpressionRef& e, Relation relation = relEqual) {
    return makeConstraint(e, relation, requiredStrength);
}

ExpressionRef constantOnly(double constant) {
    // A term with coefficient 0 is skipped, which leaves only the constant.
    return linear(makeVariable(0), 0.0, constant);
}

TEST(RequiredConstraints, AContradictingEqualityIsRejectedAndTheFirstStands) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0);
    addConstraint(s, required(linear(x, 1.0, -10.0)));
    std::string before = tableauText(s);
    EXPECT_THROW(addConstraint(s, required(linear(x, 1.0, -20.0))), UnsatisfiableConstraintException);
    EXPECT_EQ(tableauText(s), before);
    refreshVariableValues(s);
    EXPECT_EQ(x->value, 10.0);
}

TEST(RequiredConstraints, AnEqualityWithoutVariablesIsRedundantOrContradictory) {
    Solver s = newSolver();
    EXPECT_NO_THROW(addConstraint(s, required(constantOnly(0.0))));
    EXPECT_THROW(addConstraint(s, required(constantOnly(5.0))), UnsatisfiableConstraintException);
    EXPECT_THROW(addConstraint(s, required(constantOnly(-5.0))), UnsatisfiableConstraintException);
}

TEST(RequiredConstraints, AnInequalityWithoutVariablesPassesOnlyWhenItHolds) {
    Solver s = newSolver();
    EXPECT_THROW(addConstraint(s, required(constantOnly(5.0), relLessEqual)), UnsatisfiableConstraintException);
    EXPECT_NO_THROW(addConstraint(s, required(constantOnly(-5.0), relLessEqual)));
    EXPECT_NO_THROW(addConstraint(s, required(constantOnly(5.0), relGreaterEqual)));
    EXPECT_THROW(addConstraint(s, required(constantOnly(-5.0), relGreaterEqual)), UnsatisfiableConstraintException);
}

TEST(RequiredConstraints, TheSameObjectTwiceIsADuplicateButAnEqualOneIsAccepted) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0);
    ConstraintRef c = required(linear(x, 1.0, -10.0));
    addConstraint(s, c);
    std::string before = tableauText(s);
    EXPECT_THROW(addConstraint(s, c), DuplicateConstraintException);
    EXPECT_EQ(tableauText(s), before);
    EXPECT_NO_THROW(addConstraint(s, required(linear(x, 1.0, -10.0))));
    refreshVariableValues(s);
    EXPECT_EQ(x->value, 10.0);
}

TEST(RequiredConstraints, AWeakerContradictionIsAcceptedAndLoses) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0);
    addConstraint(s, required(linear(x, 1.0, -10.0)));
    EXPECT_NO_THROW(addConstraint(s, makeConstraint(linear(x, 1.0, -20.0), relEqual, 1001000999.0)));
    refreshVariableValues(s);
    EXPECT_EQ(x->value, 10.0);
}

TEST(RequiredConstraints, InequalitiesBoundAnEditedVariable) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0);
    addEditVariable(s, x, 1.0);
    addConstraint(s, required(linear(x, 1.0, 0.0), relGreaterEqual));
    addConstraint(s, required(linear(x, 1.0, -100.0), relLessEqual));
    for (auto [suggested, expected] :
         {std::pair{50.0, 50.0}, {150.0, 100.0}, {-20.0, 0.0}, {70.0, 70.0}, {100.5, 100.0}, {99.5, 99.5}}) {
        suggestValue(s, x, suggested);
        refreshVariableValues(s);
        EXPECT_EQ(x->value, expected) << "suggested " << suggested;
    }
}

TEST(RequiredConstraints, ChainedInequalitiesPushEachOtherAlong) {
    // left + 10 <= right, both edited; the stronger suggestion wins the overlap.
    Solver s = newSolver();
    VariableRef left = makeVariable(0), right = makeVariable(0);
    addEditVariable(s, left, 0.1);
    addEditVariable(s, right, 1.0);
    addConstraint(s, required(difference(left, right, 10.0), relLessEqual));
    suggestValue(s, left, 0.0);
    suggestValue(s, right, 50.0);
    refreshVariableValues(s);
    EXPECT_EQ(left->value, 0.0);
    EXPECT_EQ(right->value, 50.0);
    suggestValue(s, left, 45.0);
    refreshVariableValues(s);
    EXPECT_EQ(left->value, 40.0);
    EXPECT_EQ(right->value, 50.0);
}

TEST(EditVariables, ALoneEditVariableTakesExactlyTheSuggestedValue) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0);
    addEditVariable(s, x, 0.01);
    // Suggestions move the row by their difference, so only values whose
    // differences are exact (as pixel positions are) come back bit for bit.
    for (double value : {0.5, -7.25, 1e6, 3.0, 0.375}) {
        suggestValue(s, x, value);
        refreshVariableValues(s);
        EXPECT_EQ(x->value, value);
    }
}

TEST(EditVariables, TheStrongerSuggestionWinsAcrossARequiredEquality) {
    Solver s = newSolver();
    VariableRef a = makeVariable(0), b = makeVariable(0);
    addEditVariable(s, a, 0.01);
    addEditVariable(s, b, 0.1);
    addConstraint(s, required(difference(a, b)));
    suggestValue(s, a, 10.0);
    suggestValue(s, b, 20.0);
    refreshVariableValues(s);
    EXPECT_EQ(a->value, 20.0);
    EXPECT_EQ(b->value, 20.0);
}

TEST(EditVariables, RequiredStrengthIsRefusedAndJustBelowIsAccepted) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0);
    std::string before = tableauText(s);
    EXPECT_THROW(addEditVariable(s, x, 1001001000.0), RequiredFailureException);
    EXPECT_THROW(addEditVariable(s, x, 5e12), RequiredFailureException);
    EXPECT_THROW(addEditVariable(s, x, std::numeric_limits<double>::infinity()), RequiredFailureException);
    EXPECT_FALSE(isEditVariable(s, x));
    EXPECT_EQ(tableauText(s), before);
    EXPECT_NO_THROW(addEditVariable(s, x, 1001000999.0));
    EXPECT_TRUE(isEditVariable(s, x));
}

TEST(EditVariables, ASecondEditOfTheSameVariableIsRefused) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0);
    addEditVariable(s, x, 0.1);
    std::string before = tableauText(s);
    EXPECT_THROW(addEditVariable(s, x, 0.5), DuplicateEditVariableException);
    // The duplicate test comes first, even for a strength that is refused too.
    EXPECT_THROW(addEditVariable(s, x, requiredStrength), DuplicateEditVariableException);
    EXPECT_EQ(tableauText(s), before);
}

TEST(EditVariables, SuggestingForAnUnknownVariableChangesNothing) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0), y = makeVariable(4.0);
    addEditVariable(s, x, 0.1);
    addConstraint(s, required(difference(x, y)));
    suggestValue(s, x, 3.0);
    std::string before = tableauText(s);
    EXPECT_THROW(suggestValue(s, y, 8.0), UnknownEditVariableException);
    EXPECT_EQ(tableauText(s), before);
    refreshVariableValues(s);
    EXPECT_EQ(y->value, 3.0);
}

TEST(EditVariables, AnEditAddedAfterItsConstraintsStillSteers) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0), y = makeVariable(0);
    addConstraint(s, required(difference(y, x, -5.0)));  // y = x + 5
    addEditVariable(s, y, 0.1);
    suggestValue(s, y, 12.0);
    refreshVariableValues(s);
    EXPECT_EQ(x->value, 7.0);
    EXPECT_EQ(y->value, 12.0);
}

TEST(WeightedSum, ErrorsAreTradedByStrengthAlone) {
    // Two strong pulls nearly in balance and a much weaker third: the weak
    // one outweighs their difference, so it decides where x goes, at a small
    // cost to the strong ones. Strengths are weights, not levels.
    Solver s = newSolver();
    VariableRef x = makeVariable(0);
    addConstraint(s, makeConstraint(linear(x, 1.0, 0.0), relEqual, 1.0));
    addConstraint(s, makeConstraint(linear(x, 1.0, -10.0), relEqual, 0.9995));
    refreshVariableValues(s);
    EXPECT_EQ(x->value, 0.0);
    addConstraint(s, makeConstraint(linear(x, 1.0, -20.0), relEqual, 0.001));
    refreshVariableValues(s);
    EXPECT_EQ(x->value, 10.0);
}

TEST(RefreshVariableValues, AVariableTheSolverNeverMetKeepsItsValue) {
    Solver s = newSolver();
    VariableRef unseen = makeVariable(42.0), zeroCoefficient = makeVariable(17.0), x = makeVariable(0);
    // A coefficient below the near-zero limit is skipped without a symbol.
    addConstraint(
        s, required(offsetExpression(expressionOfTerms(makeTerm(x, 1.0), makeTerm(zeroCoefficient, 5e-9)), -3.0)));
    refreshVariableValues(s);
    EXPECT_EQ(x->value, 3.0);
    EXPECT_EQ(unseen->value, 42.0);
    EXPECT_EQ(zeroCoefficient->value, 17.0);
}

TEST(RefreshVariableValues, AVariableThatIsNotBasicGetsZero) {
    Solver s = newSolver();
    VariableRef x = makeVariable(5.0), y = makeVariable(7.0);
    addConstraint(s, required(difference(x, y)));  // x becomes basic, y stays parametric
    refreshVariableValues(s);
    EXPECT_EQ(x->value, 0.0);
    EXPECT_EQ(y->value, 0.0);
}

TEST(SolverErrors, EachIsAValueErrorNamedAfterItsTypeWithAnEmptyMessage) {
    auto check = [](const runtime::ValueError& error, const std::string& name) {
        EXPECT_STREQ(error.typeName(), name.c_str());
        EXPECT_STREQ(error.what(), "");
        EXPECT_EQ(runtime::unhandledErrorText(error), "Error: unhandled exception:  [" + name + "]");
    };
    check(DuplicateConstraintException(), "DuplicateConstraintException");
    check(UnsatisfiableConstraintException(), "UnsatisfiableConstraintException");
    check(DuplicateEditVariableException(), "DuplicateEditVariableException");
    check(RequiredFailureException(), "RequiredFailureException");
    check(UnknownEditVariableException(), "UnknownEditVariableException");
}

TEST(SolverErrors, NumbersThatAreNotFiniteAreRefusedBeforeAnythingChanges) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0);
    addEditVariable(s, x, 0.1);
    suggestValue(s, x, 5.0);
    std::string before = tableauText(s);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_THROW(suggestValue(s, x, nan), runtime::ValueError);
    EXPECT_THROW(suggestValue(s, x, -infinity), runtime::ValueError);
    EXPECT_THROW(addConstraint(s, required(linear(x, 1.0, infinity))), runtime::ValueError);
    EXPECT_THROW(addConstraint(s, makeConstraint(linear(x, nan, 0.0), relLessEqual, 1.0)), runtime::ValueError);
    EXPECT_EQ(tableauText(s), before);
    suggestValue(s, x, 6.0);
    refreshVariableValues(s);
    EXPECT_EQ(x->value, 6.0);
}

TEST(SolverLifetime, TheSolverKeepsWhatItWasGivenAlive) {
    Solver s = newSolver();
    std::weak_ptr<Variable> watched;
    {
        VariableRef x = makeVariable(0);
        watched = x;
        addEditVariable(s, x, 0.1);
        addConstraint(s, required(linear(x, 1.0, -2.0), relGreaterEqual));
    }
    ASSERT_FALSE(watched.expired());
    suggestValue(s, watched.lock(), -5.0);
    refreshVariableValues(s);
    EXPECT_EQ(watched.lock()->value, 2.0);
    Solver moved = std::move(s);
    refreshVariableValues(moved);
    EXPECT_EQ(watched.lock()->value, 2.0);
}

}  // namespace
