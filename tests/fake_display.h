// A cell display for tests: records every operation in order and keeps what
// each cell would show, so tests can compare the screen with the board.
#pragma once

#include <array>
#include <ostream>
#include <vector>

#include "board.h"
#include "cell_display.h"

namespace tarpo::testing {

struct DisplayOp {
    enum Kind { kTile, kCompletion, kClear, kFrame };
    Kind kind;
    Int16 cell;
    Int16 value = 0;  // the tile for kTile, 1/0 for frame on/off

    bool operator==(const DisplayOp&) const = default;
};

inline DisplayOp Tile(Int16 cell, Int16 tile) { return {DisplayOp::kTile, cell, tile}; }
inline DisplayOp Completion() { return {DisplayOp::kCompletion, kEmptyHomeCell}; }
inline DisplayOp Clear(Int16 cell) { return {DisplayOp::kClear, cell}; }
inline DisplayOp Frame(Int16 cell, bool on) {
    return {DisplayOp::kFrame, cell, on ? Int16{1} : Int16{0}};
}

inline std::ostream& operator<<(std::ostream& out, const DisplayOp& op) {
    switch (op.kind) {
        case DisplayOp::kTile:
            return out << "Tile(" << op.cell << ", " << op.value << ")";
        case DisplayOp::kCompletion:
            return out << "Completion()";
        case DisplayOp::kClear:
            return out << "Clear(" << op.cell << ")";
        case DisplayOp::kFrame:
            return out << "Frame(" << op.cell << ", " << op.value << ")";
    }
    return out;
}

// What a cell shows: 0 nothing, 1..15 a tile, kCompletionShown the last piece.
inline constexpr Int16 kCompletionShown = 16;

class RecordingDisplay : public CellDisplay {
  public:
    RecordingDisplay() { framed.fill(true); }

    void ShowTile(Int16 cell, Int16 tile) override {
        Record(Tile(cell, tile));
        shown[Slot(cell)] = tile;
    }
    void ShowCompletionPiece() override {
        Record(Completion());
        shown[kEmptyHomeCell] = kCompletionShown;
    }
    void ClearCell(Int16 cell) override {
        Record(Clear(cell));
        shown[Slot(cell)] = 0;
    }
    void SetFrame(Int16 cell, bool on) override {
        Record(Frame(cell, on));
        framed[Slot(cell)] = on;
    }

    bool recording = true;  // off for long runs that only need the state
    std::vector<DisplayOp> ops;
    std::array<Int16, kCellCount> shown{};
    std::array<bool, kCellCount> framed{};

  private:
    void Record(const DisplayOp& op) {
        if (recording) ops.push_back(op);
    }
    static std::size_t Slot(Int16 cell) { return static_cast<std::size_t>(cell); }
};

}  // namespace tarpo::testing
