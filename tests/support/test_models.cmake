# A third model for the tests only: its window program and a command-line tool that knows it
# are built beside the others and never installed.
trellicap_model(variant PROGRAM TrellicapVariant NAME "Variant" HEADER support/variant_profile.h
                PROFILE trellicap::variant::kProfile FILE_BYTES 560000 TEST)
