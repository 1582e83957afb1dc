// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/CellSets.h"

#include "solver/BoardSymmetry.h"

namespace solve_board {

void Symmetries::build(const LevelRecord& record, bool goalMatters) {
    for (const CellImage& image : BoardSymmetries(record, goalMatters)) {
        Transform t;
        for (int cell = 0; cell < CellCount; ++cell) {
            if (!IsBoardHole(record, cell))
                continue;
            const Bits target = Bits::cell(image[cell]);
            const int k = cell / 8, bit = cell % 8;
            for (int byte = 0; byte < 256; ++byte)
                if (byte & (1 << bit))
                    t.byByte[k][byte] = t.byByte[k][byte] | target;
        }
        m_transforms.push_back(t);
    }
}

} // namespace solve_board
