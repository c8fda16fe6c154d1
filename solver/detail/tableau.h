#pragma once
// The simplex tableau and the two simplex methods that work on it.

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "solver/detail/row.h"
#include "solver/detail/symbol.h"
#include "solver/detail/symbol_map.h"

namespace solver::detail {

struct Tableau {
    SymbolMap<RowRef> rows;                  // basic symbol -> the row that defines it
    Row objective;                           // strength-weighted errors, to minimise
    std::optional<Row> artificialObjective;  // present only during phase one
    std::vector<Symbol> infeasible;          // basic symbols to repair; a stack

    // A copy that shares no row with this one.
    Tableau deepCopy() const;
};

// Restoring a snapshot must not throw: it runs in a destructor.
static_assert(std::is_nothrow_move_assignable_v<Tableau>);

// Keeps the tableau as it was when the guard was made, unless committed:
// whatever way the guarded block is left, by a failure report or by an
// exception, an uncommitted guard puts the snapshot back.
class TableauGuard {
public:
    explicit TableauGuard(Tableau& tableau) : tableau_(tableau), saved_(tableau.deepCopy()) {}
    ~TableauGuard() {
        if (!committed_) tableau_ = std::move(saved_);
    }
    TableauGuard(const TableauGuard&) = delete;
    TableauGuard& operator=(const TableauGuard&) = delete;

    void commit() noexcept { committed_ = true; }

private:
    Tableau& tableau_;
    Tableau saved_;
    bool committed_ = false;
};

// Replaces the symbol by the row in every row, the objective and the
// artificial objective; restricted rows left with a negative constant are
// pushed on the infeasible stack.
void substituteEverywhere(Tableau& tableau, Symbol symbol, const Row& row);

// Takes the row of `leaving` out, solves it for `entering` and stores it
// under `entering`, substituting it everywhere. Raises
// InternalSolverException when `leaving` has no row.
void pivot(Tableau& tableau, Symbol leaving, Symbol entering);

// The first symbol of the objective that is not a dummy and whose coefficient
// is negative, or noSymbol at the optimum.
Symbol pickEnteringSymbol(const Row& objective);

// The basic symbol of the restricted row that bounds the entering symbol
// first (smallest -constant / coefficient over negative coefficients, the
// first of equal ratios), or noSymbol when nothing bounds it.
Symbol pickLeavingRow(const Tableau& tableau, Symbol entering);

// For the dual simplex: over the row's non-dummy cells with a positive
// coefficient d, the symbol with the smallest objective coefficient / d, or
// noSymbol.
Symbol pickDualEnteringSymbol(const Tableau& tableau, const Row& row);

// Minimises `objective`, which is the tableau's objective or its artificial
// objective. Raises InternalSolverException when the objective is unbounded,
// which a consistent tableau never is.
void runPrimalSimplex(Tableau& tableau, Row& objective);

// Repairs the rows on the infeasible stack until it is empty; a row below
// zero by less than the near-zero limit that no symbol can repair is left as
// it is. Raises InternalSolverException for any other row that no symbol can
// repair, which a consistent tableau never has.
void runDualSimplex(Tableau& tableau);

// The whole tableau as text, numbers in hexadecimal floating point so that
// two texts are equal exactly when the tableaux are bit for bit; for tests
// and debugging.
std::string describeTableau(const Tableau& tableau);

}  // namespace solver::detail
