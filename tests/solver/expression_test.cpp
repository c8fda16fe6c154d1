// The expression algebra and the making of constraints.

#include "solver/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "solver/constraint.h"

namespace {

using namespace solver;

TEST(ExpressionAlgebra, MadeVariablesAreAnonymousAndDistinct) {
    VariableRef a = makeVariable(3.5);
    VariableRef b = makeVariable(3.5);
    EXPECT_EQ(a->name, ":anonymous");
    EXPECT_EQ(a->value, 3.5);
    EXPECT_NE(a, b);
}

TEST(ExpressionAlgebra, SumsKeepTheOrderOfTheirTermsAndAddConstants) {
    VariableRef x = makeVariable(0), y = makeVariable(0), z = makeVariable(0);
    ExpressionRef a = expressionOfTerms(makeTerm(x, 1.0), makeTerm(y, 2.0));
    ExpressionRef b = expressionOfTerm(makeTerm(z, 3.0), 4.0);
    ExpressionRef sum = addExpressions(offsetExpression(a, 1.0), b);
    ASSERT_EQ(sum->terms.size(), 3u);
    EXPECT_EQ(sum->terms[0].variable, x);
    EXPECT_EQ(sum->terms[1].variable, y);
    EXPECT_EQ(sum->terms[2].variable, z);
    EXPECT_EQ(sum->constant, 5.0);
    // The arguments are left as they were.
    EXPECT_EQ(a->constant, 0.0);
    EXPECT_EQ(b->terms.size(), 1u);
}

TEST(ExpressionAlgebra, ScalingMultipliesCoefficientsAndConstantAndOffsettingMovesOnlyTheConstant) {
    VariableRef x = makeVariable(0), y = makeVariable(0);
    ExpressionRef e = offsetExpression(expressionOfTerms(makeTerm(x, 1.0), makeTerm(y, -2.0)), 10.0);
    ExpressionRef scaled = scaleExpression(e, -1.0);
    EXPECT_EQ(scaled->terms[0].coefficient, -1.0);
    EXPECT_EQ(scaled->terms[1].coefficient, 2.0);
    EXPECT_EQ(scaled->constant, -10.0);
    Term term = scaleTerm(e->terms[1], 1.5);
    EXPECT_EQ(term.variable, y);
    EXPECT_EQ(term.coefficient, -3.0);
    ExpressionRef moved = offsetExpression(e, -18.0);
    EXPECT_EQ(moved->terms[1].coefficient, -2.0);
    EXPECT_EQ(moved->constant, -8.0);
}

TEST(MergeTerms, SumsTermsOfTheSameVariableInOrderOfFirstOccurrence) {
    VariableRef x = makeVariable(0), y = makeVariable(0);
    Expression e{{makeTerm(y, 1.0), makeTerm(x, 2.0), makeTerm(y, 3.0)}, 7.0};
    ExpressionRef merged = mergeTerms(e);
    ASSERT_EQ(merged->terms.size(), 2u);
    EXPECT_EQ(merged->terms[0].variable, y);
    EXPECT_EQ(merged->terms[0].coefficient, 4.0);
    EXPECT_EQ(merged->terms[1].variable, x);
    EXPECT_EQ(merged->terms[1].coefficient, 2.0);
    EXPECT_EQ(merged->constant, 7.0);
}

TEST(MergeTerms, AZeroSumStaysAsATerm) {
    VariableRef x = makeVariable(0);
    ExpressionRef merged = mergeTerms(Expression{{makeTerm(x, 1.0), makeTerm(x, -1.0)}, 0.0});
    ASSERT_EQ(merged->terms.size(), 1u);
    EXPECT_EQ(merged->terms[0].coefficient, 0.0);
}

TEST(MergeTerms, VariablesAreTheSameOnlyByIdentity) {
    VariableRef a = makeVariable(1.0), b = makeVariable(1.0);
    ExpressionRef merged = mergeTerms(Expression{{makeTerm(a, 1.0), makeTerm(b, 1.0)}, 0.0});
    EXPECT_EQ(merged->terms.size(), 2u);
}

TEST(MergeTerms, LongExpressionsMergeLikeShortOnes) {
    // Past a few terms the merge uses an index; the result must not change.
    std::vector<VariableRef> variables;
    for (int i = 0; i < 12; ++i) variables.push_back(makeVariable(0));
    Expression e;
    for (int round = 0; round < 3; ++round)
        for (int i = 11; i >= 0; --i) e.terms.push_back(makeTerm(variables[i], i + round * 0.5));
    ExpressionRef merged = mergeTerms(e);
    ASSERT_EQ(merged->terms.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(merged->terms[i].variable, variables[11 - i]);
        EXPECT_EQ(merged->terms[i].coefficient, 3.0 * (11 - i) + 1.5);
    }
}

TEST(MakeConstraint, MergesTheExpressionAndKeepsTheRelation) {
    VariableRef x = makeVariable(0);
    ConstraintRef c = makeConstraint(expressionOfTerms(makeTerm(x, 1.0), makeTerm(x, 1.0)), relGreaterEqual, 5.0);
    ASSERT_EQ(c->expression().terms.size(), 1u);
    EXPECT_EQ(c->expression().terms[0].coefficient, 2.0);
    EXPECT_EQ(c->relation(), relGreaterEqual);
    EXPECT_EQ(c->strength(), 5.0);
    EXPECT_FALSE(c->isRequired());
}

TEST(MakeConstraint, ClipsTheStrengthIntoTheRangeUpToRequired) {
    VariableRef x = makeVariable(0);
    ExpressionRef e = expressionOfTerm(makeTerm(x, 1.0), 0.0);
    EXPECT_TRUE(makeConstraint(e, relEqual)->isRequired());
    EXPECT_EQ(makeConstraint(e, relEqual, 2e9)->strength(), requiredStrength);
    EXPECT_TRUE(makeConstraint(e, relEqual, std::numeric_limits<double>::infinity())->isRequired());
    EXPECT_EQ(makeConstraint(e, relEqual, 1001000999.0)->strength(), 1001000999.0);
    EXPECT_FALSE(makeConstraint(e, relEqual, 1001000999.0)->isRequired());
    EXPECT_EQ(makeConstraint(e, relEqual, -3.0)->strength(), 0.0);
    EXPECT_EQ(makeConstraint(e, relEqual, std::nan(""))->strength(), 0.0);
}

}  // namespace
