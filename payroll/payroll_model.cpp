// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_model.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QColor>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <numeric>
#include <optional>

#include "payroll/row_marks.h"
#include "paysheet/person_columns.h"
#include "paysheet/spreadsheet_amount.h"
#include "ui/utf8_text.h"

namespace taxcalc {
namespace {

// Whether a header cell names the input column, as the core matches its columns:
// the Chinese name, or the English one in any case.
bool Names(std::string_view header, const InputColumn &column) {
    const QString cell = FromUtf8(header).trimmed();
    return cell == FromUtf8(column.Chinese) ||
           cell.compare(FromUtf8(column.English), Qt::CaseInsensitive) == 0;
}

// A cell for tab-separated text: a cell holding a tab, a line break or a quote is
// quoted, its quotes doubled, as spreadsheets read it back.
QString TabCell(QString cell) {
    if (cell.contains(QLatin1Char('\t')) || cell.contains(QLatin1Char('\n')) ||
        cell.contains(QLatin1Char('\r')) || cell.contains(QLatin1Char('"'))) {
        cell.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + cell + QLatin1Char('"');
    }
    return cell;
}

}  // namespace

bool SameFigures(const PayrollOutcomes &a, const PayrollOutcomes &b) noexcept {
    return a.SharedTable() == b.SharedTable() && a.Computing() == b.Computing();
}

PayrollModel::PayrollModel(QObject *parent)
    : QAbstractTableModel(parent),
      m_zoneIcon(RowMarkIcon(RowState::Advised)),
      m_refusedIcon(RowMarkIcon(RowState::Refused)) {}

void PayrollModel::setOutcomes(std::shared_ptr<const PayrollOutcomes> outcomes) {
    const bool sameRows = m_outcomes && outcomes && SameFigures(*m_outcomes, *outcomes) && !m_markedOnly;
    if (sameRows) {
        // The cells are the same; only the states and the filter's rows are new.
        m_outcomes = std::move(outcomes);
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        return;
    }
    std::shared_ptr<const PayrollTable> table = outcomes ? outcomes->SharedTable() : nullptr;
    take(std::move(table), std::move(outcomes));
}

void PayrollModel::setTable(std::shared_ptr<const PayrollTable> table) {
    take(std::move(table), nullptr);
}

void PayrollModel::take(std::shared_ptr<const PayrollTable> table,
                        std::shared_ptr<const PayrollOutcomes> outcomes) {
    beginResetModel();
    m_table = std::move(table);
    m_outcomes = std::move(outcomes);
    for (CachedRow &cached : m_cache) {
        cached.Row = static_cast<std::size_t>(-1);
    }
    m_width = m_table ? static_cast<int>(m_table->Width()) : 0;
    m_computedWidth = m_outcomes ? static_cast<int>(m_outcomes->AddedHeaders().size()) : 0;
    // Another mode may bring other columns: the order holds while its column does.
    if (m_sortColumn >= columnCount()) {
        m_sortColumn = -1;
    }
    orderRows();
    arrangeRows();
    endResetModel();
}

void PayrollModel::setMarkedOnly(bool markedOnly) {
    if (markedOnly == m_markedOnly) {
        return;
    }
    beginResetModel();
    m_markedOnly = markedOnly;
    arrangeRows();
    endResetModel();
}

void PayrollModel::setPalette(const QPalette &palette) {
    m_palette = palette;
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
    }
}

std::size_t PayrollModel::tableRow(int row) const {
    if (m_sortColumn >= 0) {
        return m_shown[static_cast<std::size_t>(row)];
    }
    return filtering() ? m_outcomes->MarkedRows()[static_cast<std::size_t>(row)]
                       : static_cast<std::size_t>(row);
}

RowState PayrollModel::state(std::size_t row) const {
    if (!m_outcomes) {
        return RowState::Blank;
    }
    return m_outcomes->RowsComputed() ? m_outcomes->State(row) : cached(row).State;
}

int PayrollModel::rowCount(const QModelIndex &parent) const {
    if (parent.isValid() || !m_table) {
        return 0;
    }
    if (m_sortColumn >= 0) {
        return static_cast<int>(m_shown.size());
    }
    return static_cast<int>(filtering() ? m_outcomes->MarkedRows().size() : m_table->Rows());
}

int PayrollModel::columnCount(const QModelIndex &parent) const {
    if (parent.isValid() || !m_table) {
        return 0;
    }
    // The error column comes with the outcomes.
    return m_width + (m_outcomes ? m_computedWidth + 1 : 0);
}

const PayrollModel::CachedRow &PayrollModel::cached(std::size_t row) const {
    CachedRow &cached = m_cache[row % m_cache.size()];
    if (cached.Row != row) {
        cached.State = m_outcomes->Figures(row, cached.Figures);
        cached.Row = row;
    }
    return cached;
}

QVariant PayrollModel::cellText(std::size_t row, int column) const {
    if (column < m_width) {
        return FromUtf8(m_table->Cell(row, static_cast<std::size_t>(column)));
    }
    const RowFigures &row_figures = cached(row).Figures;
    const std::string &text = column < m_width + m_computedWidth
                                  ? row_figures.Cells[static_cast<std::size_t>(column - m_width)]
                                  : row_figures.Error;
    return FromUtf8(text);
}

QString PayrollModel::adviceText(std::size_t row) const {
    // The advice cells the mode writes for the row (the advised bonus and the figures
    // that follow from it), as header and figure.
    QStringList parts;
    const std::span<const std::string_view> added = m_outcomes->AddedHeaders();
    for (std::size_t i = 0; i < added.size(); ++i) {
        const ColumnRole role = m_outcomes->AddedRole(i);
        const QString cell = cellText(row, m_width + static_cast<int>(i)).toString();
        if ((role == ColumnRole::Advice || role == ColumnRole::AdvisedTax) && !cell.isEmpty()) {
            parts.append(FromUtf8(added[i]) + QLatin1Char(' ') + cell);
        }
    }
    return parts.join(QStringLiteral("，"));
}

QString PayrollModel::rowDescription(int shownRow) const {
    if (!m_table || shownRow < 0 || shownRow >= rowCount()) {
        return {};
    }
    const std::size_t row = tableRow(shownRow);
    // Who the row is, what it computes from, its tax and its mark: the cells a
    // clerk reads first, not all thirty of a withholding row.
    QStringList parts;
    const auto add = [&](int column) {
        const QString cell = cellText(row, column).toString();
        if (!cell.isEmpty()) {
            parts.append(headerData(column, Qt::Horizontal).toString() + QLatin1Char(' ') + cell);
        }
    };
    const auto addNamed = [&](const InputColumn &input) {
        for (int column = 0; column < m_width; ++column) {
            if (Names(m_table->Header().Cell(static_cast<std::size_t>(column)), input)) {
                add(column);
                return;
            }
        }
    };
    for (const InputColumn &person : kShownPersonColumns) {
        addNamed(person);
    }
    if (!m_outcomes) {
        return parts.join(QStringLiteral("，"));
    }
    const ModeDescription &mode = m_outcomes->Computing().Mode();
    for (const InputColumn &input : mode.Inputs) {
        if (input.Default == ColumnDefault::Required) {
            addNamed(input);
        }
    }
    if (const std::optional<std::size_t> tax = m_outcomes->AddedCell(ColumnRole::Tax)) {
        add(m_width + static_cast<int>(*tax));
    }
    const RowState rowState = state(row);
    if (rowState == RowState::Advised || rowState == RowState::Refused) {
        const QString name = RowMarkName(rowState, m_outcomes->Computing().Kind());
        parts.append(rowState == RowState::Refused
                         ? name + QStringLiteral("：") + cellText(row, m_width + m_computedWidth).toString()
                         : name);
    }
    return parts.join(QStringLiteral("，"));
}

QVariant PayrollModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !m_table) {
        return {};
    }
    const std::size_t row = tableRow(index.row());
    const RowState state = this->state(row);
    const bool marked = state == RowState::Advised || state == RowState::Refused;
    switch (role) {
        case Qt::DisplayRole:
            return cellText(row, index.column());
        case kStateRole:
            return static_cast<int>(state);
        case Qt::BackgroundRole:
            return marked ? QVariant(RowMarkColours(state, m_palette).Background) : QVariant();
        case Qt::ForegroundRole:
            return marked ? QVariant(RowMarkColours(state, m_palette).Text) : QVariant();
        case Qt::DecorationRole:
            if (index.column() != 0) {
                return {};
            }
            if (state == RowState::Advised) {
                return m_zoneIcon;
            }
            if (state == RowState::Refused) {
                return m_refusedIcon;
            }
            return {};
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            if (state == RowState::Refused) {
                return RowMarkName(state, m_outcomes->Computing().Kind()) + QStringLiteral("：") +
                       cellText(row, m_width + m_computedWidth).toString();
            }
            if (state == RowState::Advised) {
                const QString advice = adviceText(row);
                const QString name = RowMarkName(state, m_outcomes->Computing().Kind());
                return advice.isEmpty() ? name : name + QStringLiteral("：") + advice;
            }
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() >= m_width && index.column() < m_width + m_computedWidth) {
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            }
            return {};
        default:
            return {};
    }
}

QVariant PayrollModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!m_table || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Vertical) {
        return QString::number(m_table->Line(tableRow(section)));
    }
    if (section < m_width) {
        return FromUtf8(m_table->Header().Cell(static_cast<std::size_t>(section)));
    }
    if (section < m_width + m_computedWidth) {
        return FromUtf8(m_outcomes->AddedHeaders()[static_cast<std::size_t>(section - m_width)]);
    }
    return FromUtf8(RowEvaluator::kErrorHeader);
}

QString PayrollModel::rowsText(const QList<int> &rows) const {
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < columnCount(); ++column) {
        cells.append(TabCell(headerData(column, Qt::Horizontal).toString()));
    }
    lines.append(cells.join(QLatin1Char('\t')));
    for (const int row : rows) {
        cells.clear();
        const std::size_t shown = tableRow(row);
        for (int column = 0; column < columnCount(); ++column) {
            cells.append(TabCell(cellText(shown, column).toString()));
        }
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int PayrollModel::findRow(const QString &text, int from, bool forward) const {
    const QString wanted = text.trimmed();
    const int rows = rowCount();
    if (wanted.isEmpty() || rows == 0) {
        return -1;
    }
    std::vector<std::size_t> columns;
    for (const InputColumn &person : kShownPersonColumns) {
        for (int column = 0; column < m_width; ++column) {
            if (Names(m_table->Header().Cell(static_cast<std::size_t>(column)), person)) {
                columns.push_back(static_cast<std::size_t>(column));
            }
        }
    }
    for (int step = 1; step <= rows; ++step) {
        const int row = ((from + (forward ? step : -step)) % rows + rows) % rows;
        const std::size_t shown = tableRow(row);
        for (const std::size_t column : columns) {
            if (FromUtf8(m_table->Cell(shown, column)).contains(wanted, Qt::CaseInsensitive)) {
                return row;
            }
        }
    }
    return -1;
}

void PayrollModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> keptRows;
    keptRows.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex &kept : before) {
        keptRows.push_back(tableRow(kept.row()));
    }
    m_sortColumn = column >= 0 && column < columnCount() ? column : -1;
    m_sortOrder = order;
    orderRows();
    arrangeRows();
    // The selection and the current row follow their rows to where they now stand.
    QModelIndexList after;
    after.reserve(before.size());
    if (!before.isEmpty()) {
        std::vector<int> place(m_table ? m_table->Rows() : 0, -1);
        for (int row = 0; row < rowCount(); ++row) {
            place[tableRow(row)] = row;
        }
        for (qsizetype i = 0; i < before.size(); ++i) {
            const int row = place[keptRows[static_cast<std::size_t>(i)]];
            after.append(row < 0 ? QModelIndex() : index(row, before[i].column()));
        }
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void PayrollModel::orderRows() {
    m_sorted.clear();
    if (m_sortColumn < 0 || !m_table) {
        return;
    }
    const std::size_t rows = m_table->Rows();
    enum Kind : std::uint8_t { kNumber, kText, kEmpty };
    std::vector<Kind> kinds(rows, kEmpty);
    std::vector<Cents> amounts(rows, 0);
    std::vector<std::uint32_t> textSlot(rows, 0);
    std::vector<QCollatorSortKey> texts;
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setNumericMode(true);
    for (std::size_t row = 0; row < rows; ++row) {
        const QString cell = cellText(row, m_sortColumn).toString().trimmed();
        if (cell.isEmpty()) {
            continue;
        }
        const QByteArray utf8 = cell.toUtf8();
        if (const std::optional<Cents> cents =
                SpreadsheetAmount::PlainCents(std::string_view(utf8.constData(), utf8.size()))) {
            kinds[row] = kNumber;
            amounts[row] = *cents;
        } else {
            kinds[row] = kText;
            textSlot[row] = static_cast<std::uint32_t>(texts.size());
            texts.push_back(collator.sortKey(cell));
        }
    }
    m_sorted.resize(rows);
    std::iota(m_sorted.begin(), m_sorted.end(), 0u);
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (kinds[a] != kinds[b]) {
            return kinds[a] < kinds[b];
        }
        switch (kinds[a]) {
            case kNumber:
                return descending ? amounts[b] < amounts[a] : amounts[a] < amounts[b];
            case kText: {
                const int compared = texts[textSlot[a]].compare(texts[textSlot[b]]);
                return descending ? compared > 0 : compared < 0;
            }
            case kEmpty:
                break;
        }
        return false;
    });
}

void PayrollModel::arrangeRows() {
    m_shown.clear();
    if (m_sortColumn < 0) {
        return;
    }
    if (!filtering()) {
        m_shown = m_sorted;
        return;
    }
    for (const std::uint32_t row : m_sorted) {
        const RowState rowState = m_outcomes->State(row);
        if (rowState == RowState::Advised || rowState == RowState::Refused) {
            m_shown.push_back(row);
        }
    }
}

}  // namespace taxcalc
