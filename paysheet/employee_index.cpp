// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/employee_index.h"

#include <sys/mman.h>

#include <functional>
#include <utility>

namespace taxcalc {

EmployeeIndex::EmployeeIndex(std::size_t employees) {
    std::size_t size = 1024;
    while (size < 2 * employees) {
        size *= 2;
    }
    m_slots.assign(size, Slot{});
}

std::uint32_t EmployeeIndex::NumberOf(std::string_view key) {
    const std::size_t hash = std::hash<std::string_view>{}(key);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        Slot &slot = m_slots[at];
        if (slot.Number == kEmpty) {
            if (2 * (m_ends.size() + 1) > m_slots.size()) {
                Grow();
                return NumberOf(key);
            }
            slot = {static_cast<std::uint32_t>(hash), static_cast<std::uint32_t>(m_ends.size())};
            m_text.append(key);
            m_ends.push_back(m_text.size());
            return slot.Number;
        }
        if (slot.Hash == static_cast<std::uint32_t>(hash) && Key(slot.Number) == key) {
            return slot.Number;
        }
    }
}

std::string_view EmployeeIndex::Key(std::uint32_t number) const noexcept {
    const std::size_t begin = number == 0 ? 0 : m_ends[number - 1];
    return std::string_view(m_text).substr(begin, m_ends[number] - begin);
}

void EmployeeIndex::Grow() {
    std::vector<Slot> slots(m_slots.size() * 2);
    const std::size_t mask = slots.size() - 1;
    for (std::uint32_t number = 0; number < m_ends.size(); ++number) {
        const std::size_t hash = std::hash<std::string_view>{}(Key(number));
        std::size_t at = hash & mask;
        while (slots[at].Number != kEmpty) {
            at = (at + 1) & mask;
        }
        slots[at] = {static_cast<std::uint32_t>(hash), number};
    }
    m_slots = std::move(slots);
}

void EmployeeIndex::AskForHugePages(void *start, std::size_t bytes) noexcept {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(kHugePage - 1);
    if (end > first) {
        madvise(reinterpret_cast<void *>(first), end - first, MADV_HUGEPAGE);
    }
}

}  // namespace taxcalc
