// Required constraints that need phase one, and the solver's internal
// invariants: states a consistent tableau never reaches are reported, not
// passed over.

#include <gtest/gtest.h>

#include <string>

#include "solver/detail/assertion.h"
#include "solver/detail/tableau.h"
#include "solver/solver.h"
#include "tests/solver/solver_test_support.h"

namespace {

using namespace solver;
using solvertest::difference;
using solvertest::linear;
using solvertest::tableauText;

ConstraintRef required(const ExpressionRef& e, Relation relation) { return makeConstraint(e, relation); }

// x in [0, 10] and y >= x + 20, all required. With a, b, c the slacks of the
// three: x = 10 - a, b = 10 - a, y = 30 - a + c.
struct BoundedPair {
    Solver s = newSolver();
    VariableRef x = makeVariable(0), y = makeVariable(0);
    BoundedPair() {
        addConstraint(s, required(linear(x, 1.0, -10.0), relLessEqual));
        addConstraint(s, required(linear(x, 1.0, 0.0), relGreaterEqual));
        addConstraint(s, required(difference(y, x, -20.0), relGreaterEqual));
    }
};

TEST(PhaseOne, AFailedPhaseOneLeavesTheTableauAsItWas) {
    BoundedPair pair;
    std::string before = tableauText(pair.s);
    std::uint32_t counter = solver::detail::implOf(pair.s).symbolCounter();
    // y <= 5 gives the row 25 - a + c + d with no subject; phase one pivots
    // a in for b (x = 0) before it finds that y >= 20 remains.
    EXPECT_THROW(addConstraint(pair.s, required(linear(pair.y, 1.0, -5.0), relLessEqual)),
                 UnsatisfiableConstraintException);
    EXPECT_EQ(tableauText(pair.s), before);
    // Its slack and the artificial variable were made: phase one did run.
    EXPECT_EQ(solver::detail::implOf(pair.s).symbolCounter(), counter + 2);

    // The solver goes on as if the call had not been made.
    addEditVariable(pair.s, pair.y, 1.0);
    suggestValue(pair.s, pair.y, 0.0);
    refreshVariableValues(pair.s);
    EXPECT_EQ(pair.y->value, 20.0);
    EXPECT_EQ(pair.x->value, 0.0);
}

TEST(PhaseOne, ASatisfiableRowWithoutSubjectIsAddedAndHolds) {
    BoundedPair pair;
    addConstraint(pair.s, required(linear(pair.y, 1.0, -25.0), relLessEqual));
    const auto& tableau = solver::detail::implOf(pair.s).tableau();
    EXPECT_FALSE(tableau.artificialObjective.has_value());
    // The artificial variable was the last symbol made; nothing mentions it.
    solver::detail::Symbol artificial =
        solver::detail::makeSymbol(solver::detail::symSlack, solver::detail::implOf(pair.s).symbolCounter());
    EXPECT_FALSE(tableau.rows.contains(artificial));
    for (const auto& entry : tableau.rows) EXPECT_FALSE(entry.second->cells().contains(artificial));
    EXPECT_FALSE(tableau.objective.cells().contains(artificial));

    addEditVariable(pair.s, pair.y, 1.0);
    for (double suggested : {100.0, -100.0, 22.0}) {
        suggestValue(pair.s, pair.y, suggested);
        refreshVariableValues(pair.s);
        double x = pair.x->value, y = pair.y->value;
        EXPECT_GE(x, 0.0);
        EXPECT_LE(x, 10.0);
        EXPECT_GE(y - x, 20.0);
        EXPECT_LE(y, 25.0);
    }
    EXPECT_EQ(pair.y->value, 22.0);
}

TEST(PhaseOne, ARedundantInequalityIsAccepted) {
    BoundedPair pair;
    EXPECT_NO_THROW(addConstraint(pair.s, required(linear(pair.y, 1.0, -40.0), relLessEqual)));
    EXPECT_NO_THROW(addConstraint(pair.s, required(linear(pair.y, 1.0, -20.0), relGreaterEqual)));
    EXPECT_THROW(addConstraint(pair.s, required(linear(pair.y, 1.0, -19.0), relLessEqual)),
                 UnsatisfiableConstraintException);
}

TEST(PrimalSimplex, AnUnboundedObjectiveIsReportedAsABrokenInvariant) {
    // Consistent tableaux cannot get here, so build an inconsistent one: an
    // objective that falls as a slack grows, and no row that bounds the slack.
    using namespace solver::detail;
    Tableau tableau;
    Symbol slack = makeSymbol(symSlack, 1);
    tableau.objective.insertSymbol(slack, -1.0);
    auto row = std::make_shared<Row>(5.0);
    row->insertSymbol(slack, 2.0);
    tableau.rows.assign(makeSymbol(symSlack, 2), row);
    try {
        runPrimalSimplex(tableau, tableau.objective);
        FAIL() << "no assertion";
    } catch (const InternalSolverException& failure) {
        std::string message = failure.what();
        const std::string ending = "The objective is unbounded.";
        ASSERT_GE(message.size(), ending.size());
        EXPECT_EQ(message.substr(message.size() - ending.size()), ending);
    }
}

TEST(DualSimplex, AnInfeasibleRowThatNothingCanRepairIsReportedAsABrokenInvariant) {
    // A slack that must be -1 whatever the one other slack in its row is.
    using namespace solver::detail;
    Tableau tableau;
    auto row = std::make_shared<Row>(-1.0);
    row->insertSymbol(makeSymbol(symSlack, 1), -1.0);
    Symbol basic = makeSymbol(symSlack, 2);
    tableau.rows.assign(basic, row);
    tableau.infeasible.push_back(basic);
    EXPECT_THROW(runDualSimplex(tableau), InternalSolverException);
}

TEST(DualSimplex, ARedundantEqualityBelowZeroByRoundingIsNoBrokenInvariant) {
    // x + y = 0.1 + 0.2 and x = 0.1 make y a hair off 0.2 in floating
    // point: the redundant y = 0.2 keeps only its dummy and a constant of
    // -2^-55, so its row waits on the infeasible stack for the next
    // suggestion.
    Solver s = newSolver();
    VariableRef x = makeVariable(0), y = makeVariable(0), z = makeVariable(0);
    ExpressionRef sum = expressionOfTerms(makeTerm(x, 1.0), makeTerm(y, 1.0));
    addConstraint(s, required(offsetExpression(sum, -(0.1 + 0.2)), relEqual));
    addConstraint(s, required(linear(x, 1.0, -0.1), relEqual));
    addConstraint(s, required(linear(y, 1.0, -0.2), relEqual));
    addEditVariable(s, z, 1.0);
    addConstraint(s, required(linear(z, 1.0, -5.0), relGreaterEqual));
    ASSERT_FALSE(solver::detail::implOf(s).tableau().infeasible.empty());

    EXPECT_NO_THROW(suggestValue(s, z, 1.0));
    refreshVariableValues(s);
    EXPECT_EQ(z->value, 5.0);
    EXPECT_EQ(x->value, 0.1);
}

TEST(SymbolMap, TakingAMissingSymbolIsReportedAsABrokenInvariant) {
    using namespace solver::detail;
    SymbolMap<int> map;
    map.assign(makeSymbol(symSlack, 1), 7);
    map.assign(makeSymbol(symSlack, 3), 8);
    EXPECT_THROW(map.take(makeSymbol(symSlack, 2)), InternalSolverException);
    EXPECT_THROW(map.take(makeSymbol(symSlack, 4)), InternalSolverException);
    EXPECT_EQ(map.take(makeSymbol(symSlack, 3)), 8);
    EXPECT_EQ(map.size(), 1u);
}

TEST(PrimalSimplex, TheLeavingRowIsChosenByTheSmallestRatioFirstAmongEquals) {
    using namespace solver::detail;
    Tableau tableau;
    Symbol entering = makeSymbol(symSlack, 1);
    auto addRow = [&](std::uint32_t serial, SymbolKind kind, double constant, double coefficient) {
        auto row = std::make_shared<Row>(constant);
        row->insertSymbol(entering, coefficient);
        tableau.rows.assign(makeSymbol(kind, serial), row);
    };
    addRow(2, symExternal, 1.0, -10.0);  // unrestricted: never bounds
    addRow(3, symSlack, 8.0, -2.0);      // ratio 4
    addRow(4, symError, 6.0, -3.0);      // ratio 2
    addRow(5, symSlack, 2.0, -1.0);      // ratio 2, later
    addRow(6, symSlack, 1.0, 1.0);       // grows with it: never bounds
    EXPECT_EQ(pickLeavingRow(tableau, entering), makeSymbol(symError, 4));
}

}  // namespace
