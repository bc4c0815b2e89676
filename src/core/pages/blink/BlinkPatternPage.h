#pragma once
// The blink pattern editors of the "Stelldua - Blinkmuster" and "Lumo - Blinkmuster" firmwares.
//
// Both firmwares keep four patterns, one per decoder address, in a table of program memory: the
// low bytes of the words from 0x300 on, one block per address. A pattern is a run of time
// steps; in every step each output is on or off. A block also holds the number of steps, a
// stretch factor (one step lasts stretch x 20 ms), a loop flag and one "used" flag per output.
// The page reads the table into a working copy (`PatternData`), lets the user paint the steps
// with the mouse and set the values, and writes the copy back only on "Übernehmen".
//
// The two pages are one model with a different BlinkLayout: the four-output page has 50 steps
// in 64-entry blocks, the ten-output page 100 steps in 256-entry blocks, where a step's outputs
// 5 to 10 sit 128 entries after its outputs 1 to 4, and whose newer firmware stores the stretch
// in two bytes to base 255.

#include <string>
#include <utility>
#include <vector>

#include "core/pages/Page.h"

namespace hz::pages {

// What tells the two blink pattern pages apart.
struct BlinkLayout {
    const char* frameName;
    const char* objectName;
    const char* panel;       // "pnl_blinkmuster"
    const char* group;       // the frame around the address buttons, "RadioGroup2"
    const char* prefix;      // of the page's own controls: "blinkmuster_" -> "blinkmuster_rad_a1"
    const char* imagePrefix; // "Image_Blink" -> "Image_Blink1"
    const char* stretchLabel;
    const char* stretchSpinner;
    const char* countLabel;
    const char* countSpinner;
    const char* copyLabel;
    std::vector<const char*> outputLabels; // "Out#1" ... one per output

    int outputs;          // 4 or 10
    int steps;            // steps a block can hold: 50 or 100
    int blockSize;        // entries per address: 64 or 256
    int copyCount;        // entries "von #N" copies: the whole block (64), or 255 of 256
    int countIndex;       // number of steps
    int stretchIndex;     // stretch factor (its low byte)
    int stretchHighIndex; // high byte of the stretch, -1 when the stretch is one byte
    int flagsIndex;       // bit 0 loop, bits 4..7 outputs 1..4 used
    int usedHighIndex;    // bits 0..5 outputs 5..10 used, -1 when there are only four outputs
    int secondStepBase;   // where steps of outputs 5..10 start within the block, -1 for none
    int imageHeight;      // of the first output image: the scale of every image
    // Where a step's bar ends: at the image's height, or (the four-output page) at 100 - top,
    // below the image.
    bool barEndsAtImageHeight;
    // Whether the page's own write into the stretch edit (showing an address) runs the stretch
    // handler, so that a stretch out of range is clamped when shown.
    bool clampStretchWhenShown;
    // Whether setUp draws the patterns once more at its end.
    bool drawAtEndOfInit;
};

class BlinkPatternPage : public Page {
public:
    static constexpr int kTableWord = 0x300;
    static constexpr int kAddresses = 4;
    static constexpr int kImageLeft = 40;

    // The two time labels for a step of `stretch` x 20 ms and `count` steps:
    // "Zeit-Raster = ..." and "Gesamtzeit = ...".
    static std::pair<std::string, std::string> TimeLabels(long long stretch, long long count);

    const char* frameName() const override { return m_layout.frameName; }
    const char* objectName() const override { return m_layout.objectName; }
    PagePlace placeIn(const AddressArea& area) const override;
    const BlinkLayout& layout() const { return m_layout; }

    // The page host's set-up: setUp with the width the host gives the frame, then refresh.
    void showFor(const PageContext& context) override;
    bool hasPending() const override;
    void accept() override;
    void writeCopy(FirmwareImage& image) const override;
    std::string describeByte(bool eeprom, int index) const override;
    std::vector<int> data() const override { return PatternData; }
    // A whole table of another file, held pending as if painted here (sizes and values checked
    // first; a refused table changes nothing).
    bool setData(const std::vector<int>& data) override;
    // Per address: its steps, count, stretch, flags and the entries the firmware leaves alone,
    // named so that a comparison says which pattern, step and value differ.
    std::vector<DataPart> dataParts() const override;
    std::string dataName() const override { return "Mustertabelle (alle vier Muster)"; }
    // The two LED firmwares keep the stretch in different encodings in the same entries.
    std::string dataLayout() const override;

    // The width the host gives the frame: up to 15 pixels right of "Übernehmen".
    int hostWidth() const;

    // The working copy: four blocks, entry n is the low byte of program word 0x300 + n.
    std::vector<int> PatternData;
    bool Drawing = false;
    int ImageHeight = 0;
    float LevelScale = 0.0f;
    float StepWidth = 1.0f;

    // The address whose radio button is on (1..4).
    int SelectedAddress() const;
    // The entry `index` of the selected block (or of address `address`, 1..4).
    int entry(int index) const { return entry(SelectedAddress(), index); }
    int entry(int address, int index) const
    {
        return PatternData[blockStart(address) + static_cast<std::size_t>(index)];
    }
    // Stretch factor of the selected block (or of address `address`) as the firmware reads it,
    // and its range.
    int DecodedStretch() const { return DecodedStretch(SelectedAddress()); }
    int DecodedStretch(int address) const;
    int StretchMax() const { return m_base255 ? 30000 : 200; }
    // Whether output `output` (1..outputs) is on in step `step` of the selected block (or of
    // address `address`).
    bool StepOn(int step, int output) const { return StepOn(SelectedAddress(), step, output); }
    bool StepOn(int address, int step, int output) const;
    // Every address's pattern, each used output drawn as the page draws the selected one.
    std::vector<PagePicture> sheetPictures() const override;
    // The count and stretch the selected block holds, for an edit that holds a number: what
    // the edit shows once the user leaves it (the handlers write it back at once already).
    std::optional<std::string> storedText(const Control& edit) const override;

    // Control names.
    std::string name(const char* suffix) const { return std::string(m_layout.prefix) + suffix; }
    std::string radioName(int address) const { return name("rad_a") + std::to_string(address); }
    std::string outputName(int output) const { return name("cbx_out") + std::to_string(output); }
    std::string copyName(int address) const { return name("btn_copy") + std::to_string(address); }
    std::string imageName(int output) const { return m_layout.imagePrefix + std::to_string(output); }

protected:
    explicit BlinkPatternPage(BlinkLayout layout);

    // Places a control (the concrete pages lay themselves out).
    void place(const std::string& control, const Rect& r);

private:
    // Set-up and the operations behind the controls. setUp sizes the images to `width`,
    // reloads the patterns and disables "Übernehmen"; refresh shows the selected pattern's
    // values and draws it again.
    void setUp(int width);
    void refresh();
    void ReloadPatterns();
    void ReadPatterns();
    void ShowPatternValues();
    void DrawPatterns();

    // Handlers, bound to the controls in the constructor.
    void selectAddress();
    void storeLoop();
    void useOutput(int output); // 1..outputs
    void countTyped();
    void stretchTyped();
    void countSpun();
    void stretchSpun();
    // Pressing, moving and releasing the mouse on an output's image (1..outputs).
    void paint(int output, MouseAction action, int x, int y);
    void copyPattern(int from); // 1..4
    void discardWorkingCopy();
    void acceptWorkingCopy();
    // What the count and stretch edits do with their numbers, typed or written by the page.
    void changeCount();
    void changeStretch();
    // While the mouse is down: sets the step under (x, y) of the output's pattern.
    void drawStep(int output, int x, int y);
    // Puts the spinner's number into the edit beside it; false when the edit shows it already.
    bool spinIntoEdit(std::size_t spinner, std::size_t edit);

    Control& at(std::size_t index) { return m_controls[index]; }
    const Control& at(std::size_t index) const { return m_controls[index]; }
    std::size_t blockStart() const { return blockStart(SelectedAddress()); }
    std::size_t blockStart(int address) const { return static_cast<std::size_t>((address - 1) * m_layout.blockSize); }
    // Whether output `output` of address `address` is used, and the drawing of its steps.
    bool OutputUsed(int address, int output) const;
    pages::Drawing patternDrawing(int address, int output, float stepWidth) const;
    int& entryRef(int index) { return PatternData[blockStart() + static_cast<std::size_t>(index)]; }
    // The page's own write into an edit: as with a user's change, the edit's change handler
    // runs when the text is new.
    void writeEdit(std::size_t edit, const std::string& text);
    void showStored(Control& edit, const std::string& text) override;
    // The spinner beside an edit follows the edit's number.
    void syncSpinner(std::size_t edit);
    void enableAccept(bool on);
    void recomputeStepWidth();
    std::size_t outputLabelIndex(int output) const { return m_firstOutput + 3 * static_cast<std::size_t>(output - 1); }
    std::size_t imageIndex(int output) const { return outputLabelIndex(output) + 1; }
    std::size_t checkIndex(int output) const { return outputLabelIndex(output) + 2; }
    void storeStretch(int stretch);

    BlinkLayout m_layout;
    bool m_base255 = false;
    // Set while the page itself writes an edit's text, so that its handler knows.
    bool m_ownWrite = false;

    // Indices of the controls in m_controls.
    std::size_t m_panel = 0, m_group = 0, m_firstRadio = 0, m_loop = 0;
    std::size_t m_stretchLabel = 0, m_stretchEdit = 0, m_stretchSpinner = 0;
    std::size_t m_countLabel = 0, m_countEdit = 0, m_countSpinner = 0;
    std::size_t m_info1 = 0, m_info2 = 0;
    std::size_t m_firstOutput = 0; // per output: label, image, used check box
    std::size_t m_copyLabel = 0, m_firstCopy = 0, m_verwerfen = 0, m_uebernehmen = 0;
};

} // namespace hz::pages
