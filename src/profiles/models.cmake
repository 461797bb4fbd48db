# The instrument models, one line each (cmake/TrellicapModels.cmake says what each field is
# for). FILE_BYTES: the size of the model's record file, for the man pages; a test holds it
# to the profile.
trellicap_model(tft PROGRAM TrellicapTFT NAME "TFT" HEADER profiles/tft.h
                PROFILE trellicap::tft::kProfile FILE_BYTES 560000)
trellicap_model(dac PROGRAM Trellicap NAME "DAC" HEADER profiles/dac.h
                PROFILE trellicap::dac::kProfile FILE_BYTES 520000)
