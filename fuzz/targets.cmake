# The fuzz targets (one file each, fuzz/<name>.cpp, with a corpus in fuzz/corpus/<name>) and
# the sources they need. Shared by the fuzz build and the corpus replay of the main build.
set(QINGHE_FUZZ_TARGETS fuzz_userinfo fuzz_ledger_text fuzz_amount fuzz_backup)
set(QINGHE_FUZZED_SOURCES
    src/ledgers/Big5.cpp
    src/ledgers/CnDES.cpp
    src/ledgers/Crypt32.cpp
    src/ledgers/PublicFunction.cpp
    src/ledgers/LedgerDirectory.cpp
    src/store/Amount.cpp
    src/store/Database.cpp
    src/store/Schema.cpp
    src/store/LedgerOps.cpp
    src/store/Backup.cpp
)
