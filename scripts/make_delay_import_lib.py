#!/usr/bin/env python3
"""Makes a delay-import library from a mingw import library.

A program linked against the result loads the DLL on its first call into it
instead of before any of its own code runs.  The result has every function
the import library has, under the same names, plus the import library's
members that are no imports (GUIDs and the like), so that it can stand in
for it on the link line.

usage: make_delay_import_lib.py NM AR DLLTOOL OBJCOPY IMPORT_LIB DLL_NAME OUTPUT
"""
import os
import subprocess
import sys
import tempfile


def run(*command, cwd=None):
    return subprocess.run(command, check=True, capture_output=True, text=True, cwd=cwd).stdout


def read_members(nm, import_lib):
    """The functions the import library imports, and its members that define
    no import, in the library's order."""
    members, imports, importing = {}, set(), set()
    # One line per symbol a member defines: "archive:member:value type name".
    for line in run(nm, "-A", "--defined-only", import_lib).splitlines():
        where, _, symbol = line.rpartition(":")
        fields = symbol.split()
        if len(fields) != 3:
            continue
        member = where.split(":")[-1]
        members.setdefault(member)
        kind, name = fields[1], fields[2]
        if kind == "I":
            importing.add(member)
            if name.startswith("__imp__"):
                imports.add(name[len("__imp__"):])
    return imports, [m for m in members if m not in importing]


def main():
    nm, ar, dlltool, objcopy, import_lib, dll_name, output = sys.argv[1:]
    import_lib = os.path.abspath(import_lib)
    imports, others = read_members(nm, import_lib)
    if not imports:
        sys.exit(f"{import_lib}: no imports found")
    stem = os.path.splitext(dll_name)[0].lower()
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "exports.def"), "w") as out:
            out.write(f"LIBRARY {dll_name}\nEXPORTS\n")
            out.writelines(f"  {name}\n" for name in sorted(imports))
        library = f"{stem}_delay.a"
        # -k: the DLL exports its stdcall functions without their @n suffix,
        # as the import library's entries name them.
        run(dlltool, "-k", "-d", "exports.def", "-D", dll_name, "-y", library, cwd=work)
        members = run(ar, "t", library, cwd=work).split()
        run(ar, "x", library, cwd=work)
        # The linker drops the code of an import library's member that no
        # one calls by name, as it would be the plain jump of an ordinary
        # import; here it is also where the address slot starts out pointing,
        # so dropping it leaves the slot empty.  The linker recognises that
        # code by its section's code flag; marked as data under a name that
        # still places it among the program's code, it is kept.
        for member in members:
            run(objcopy, "--rename-section", ".text=.text$delay,alloc,load,readonly,data,contents",
                member, cwd=work)
        if others:
            run(ar, "x", import_lib, *others, cwd=work)
        os.remove(os.path.join(work, library))
        run(ar, "rcs", library, *members, *others, cwd=work)
        os.replace(os.path.join(work, library), output)


if __name__ == "__main__":
    main()
