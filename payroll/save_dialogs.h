// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QString>

class QWidget;

namespace taxcalc {

class Computation;
class PayrollTable;

// The questions of saving: where to (a workbook saved as a workbook, a CSV file as
// CSV, unless the user picks otherwise), and whether a file that is there may be
// replaced, told what it loses.
class SaveDialogs {
public:
    explicit SaveDialogs(QWidget *parent);

    // The name to save the results of the file at `opened` under, starting in
    // `folder`; empty where the user cancelled.
    QString chooseFileToSave(const QString &opened, const QString &folder) const;
    // Whether the file at `path`, which the user chose to save to, may be replaced: a
    // new name may; an existing one only when the user says so, told what it loses,
    // and never when a workbook's other content or the only copy of undecodable bytes
    // would be lost, nor columns of the user's own named as the results'. `table` was
    // read from `opened` and is computed by `computation`.
    bool mayReplace(const QString &path, const PayrollTable *table, const Computation &computation,
                    const QString &opened) const;

    // Whether the results of the file at `opened` are saved as a workbook at first.
    static bool SavesWorkbook(const QString &opened);
    // The name offered first: the opened file's, with _结果 and the type's suffix.
    static QString SuggestedName(const QString &opened, const QString &folder);
    // The name decides the format, as for taxcalc-batch; a bare name gets the chosen type's.
    static QString WithSuffix(const QString &path, bool workbookChosen);

private:
    QWidget *m_parent;
};

}  // namespace taxcalc
