// Placeholder until the catalogue data lands.
#include "catalogue/Catalogue.h"

namespace hz {

const char* const kProgramPage = "https://hexzwirbel.example.org/";
const char* const kHomePage = "https://hexzwirbel.example.org/";
const char* const kDocStartPage = "https://hexzwirbel.example.org/doku/";

const std::vector<DecoderType>& DecoderCatalogue()
{
    static const std::vector<DecoderType> none;
    return none;
}

const DecoderType* FindDecoderType(int) { return nullptr; }
const PicInfo* FindPic(int) { return nullptr; }

} // namespace hz
