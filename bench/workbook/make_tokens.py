# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The taxcalc developers
# Writes an .xlsx workbook whose sheet holds a small payroll and then comments of
# LENGTH bytes each, TOTAL MiB of them inflated: the longest tokens the reader takes,
# or, with one comment as long as TOTAL, one that it refuses.
#   make_tokens.py OUT.xlsx TOTAL_MIB LENGTH_BYTES
import sys
import zipfile

out, total, length = sys.argv[1], int(sys.argv[2]) << 20, int(sys.argv[3])
main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
relationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
rows = "".join(f"<row r='{r}'><c r='A{r}'><v>{18000 + r}</v></c></row>" for r in range(2, 102))
comment = "<!--" + "x" * (length - 7) + "-->"
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("[Content_Types].xml", "<Types xmlns='http://schemas.openxmlformats.org/package/2006/content-types'/>")
    z.writestr("_rels/.rels",
               "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
               f"<Relationship Id='r1' Target='xl/workbook.xml' Type='{relationships}/officeDocument'/>"
               "</Relationships>")
    z.writestr("xl/workbook.xml", f"<workbook xmlns='{main}' xmlns:r='{relationships}'><sheets>"
                                  "<sheet name='年终奖' sheetId='1' r:id='s1'/></sheets></workbook>")
    z.writestr("xl/_rels/workbook.xml.rels",
               "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
               f"<Relationship Id='s1' Target='sheet.xml' Type='{relationships}/worksheet'/></Relationships>")
    with z.open("xl/sheet.xml", "w", force_zip64=True) as sheet:
        sheet.write(f"<worksheet xmlns='{main}'><sheetData><row r='1'><c r='A1' t='inlineStr'><is><t>年终奖</t>"
                    f"</is></c></row>{rows}".encode())
        written = 0
        block = comment.encode()
        while written + len(block) <= total:
            sheet.write(block)
            written += len(block)
        sheet.write(b"</sheetData></worksheet>")
