#pragma once
// The curve page of the servo decoders (TFrameKornel): the working copy of the servo table in
// program memory - four records of 128 entries, the low bytes of words 0x500 to 0x6FF - with
// the curve and relay graphs, the generators and transforms, and the curve and set files.
// The address page (KornelAdrPage) edits entries of the same working copy and relies on this
// page's "übernehmen".
//
// Record r (1..4) holds curve r: points 0..99 (bits 0..6 position, bit 7 relay), 100 the
// flags of servo r, 101 the point count, 102 the stretch factor (the decoder waits stretch x
// 20 ms between two points), 103..109 the settings of addresses r and r+4, 110 the action of
// push-button slot r; the rest is carried along untouched. The high bytes of the table's
// program words are never read or written.
//
// Two EEPROM bytes are written at once, not by "übernehmen": 0x00, the mode of push button SW1
// (0x01 "Lernen + Justage", 0xF0 "Servo-Bedienung"), and 0x30, the threshold of output X7
// (types 0x1D2 and 0x7DD2). "übernehmen" writes the table and the address page's pulse bytes
// 0x60..0x67; "verwerfen" reads the table again.
//
// Controls, all on the panel pnl_servo (geometry in frame pixels, the page's own layout):
// the curve buttons servo_rad_a1..4 in RadioGroup1; the point count edt_Anzahl with UpDown1
// and the stretch edt_stretch with UpDown2 (spinners: track bar controls whose position
// types into their edit); the time labels lbl_KurveInfo1/2; the grid lists cbx_raster_x/y;
// the curve image servo_Image1 (530 x 201) and the relay image servo_Image2 (530 x 57); the
// threshold edt_kornelchen_schwelle with UpDown4; the generator, mirror, copy, file, scale
// and shift buttons; the SW1 mode in servo_GroupBox1; the four push-button lists
// servo_cbx_s1c/s1o/s2c/s2o; "verwerfen" and "übernehmen".

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/pages/Page.h"
#include "core/pages/servo/CurveTransforms.h"

namespace hz {
class FirmwareImage;
class Prompter;
} // namespace hz

namespace hz::pages {

class KornelAdrPage;

class KornelPage : public Page {
public:
    // Layout of the page (frame pixels).
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 555;
    static constexpr int kImageWidth = 530;
    static constexpr int kImageHeight = 201;
    static constexpr int kRelayImageHeight = 57;
    static constexpr Rect kImage1Rect{5, 95, kImageWidth, kImageHeight};
    static constexpr Rect kImage2Rect{5, 315, kImageWidth, kRelayImageHeight};
    static constexpr Rect kAcceptRect{445, 515, 80, 25};
    // Where the table lies: entry e is the low byte of program word 0x500 + e.
    static constexpr int kFirstWord = 0x500;
    // EEPROM bytes of the page.
    static constexpr int kEepromSw1Mode = 0x00;
    static constexpr int kEepromThreshold = 0x30;
    static constexpr int kEepromPulses = 0x60;

    KornelPage();

    const char* frameName() const override { return "TFrameKornel"; }
    static constexpr const char* kObjectName = "FrameKornel1";
    const char* objectName() const override { return kObjectName; }
    PagePlace placeIn(const AddressArea& area) const override;

    // The set-up: runs each time the host shows page kind 4, before the address page's.
    void showFor(const PageContext& context) override;
    // "übernehmen" is enabled.
    bool hasPending() const override;
    // "übernehmen": writes the working copy and the address page's pulse values.
    void accept() override;
    void writeCopy(FirmwareImage& image) const override;
    std::string describeByte(bool eeprom, int index) const override;
    std::vector<int> data() const override;
    // Another file's table taken over whole (512 entries of 0..255): shown at once, with the
    // address page, and held pending until "übernehmen".
    bool setData(const std::vector<int>& data) override;
    // Per record r: "Kurve r Punkte" (0..99), "Kurve r Flags" (100), "Kurve r Anzahl Punkte",
    // "Kurve r Stretch-Faktor", the two bytes of addresses r and r+4, the push-button slot's
    // action under its caption, and the bytes nobody interprets.
    std::vector<DataPart> dataParts() const override;
    std::string dataName() const override { return "Kurventabelle (alle vier Kurven)"; }
    // The decoder types read the table differently (eight addresses and four servos on the
    // Kornel-4, four addresses and one servo on the Kornelchen, on and off commands of two
    // addresses on the function-decoder firmware; the push-button slots answer other buttons):
    // the type's description of its table.
    std::string dataLayout() const override;
    // Every curve of the type (and its relay steps on the Kornel-4), drawn as the page draws
    // the selected one.
    std::vector<PagePicture> sheetPictures() const override;
    // The count and stretch the selected record holds and the threshold stored, for an edit
    // that holds a number: what the edit shows once the user leaves it.
    std::optional<std::string> storedText(const Control& edit) const override;

    // The working copy: entry e is the low byte of program word 0x500 + e.
    std::array<std::int32_t, 512> CurveData{};

    // The address page beside this one (set by the page host): reloading the curves
    // refreshes it, and "übernehmen" writes its pulse values.
    KornelAdrPage* AddressPage = nullptr;

    // Every change of the working copy on the address page enables "übernehmen".
    void EnableAccept();

    // The grid: item indices of the two grid lists, kept between runs in the settings file.
    // The page selects them when it is shown and changes them when the user picks another
    // grid; a value outside a list draws no grid lines and is kept until the user picks one.
    int RasterX = 0;
    int RasterY = 0;

    // Page fields.
    bool Drawing = false; // a mouse button is held down over one of the two images
    int ImageHeight = kImageHeight;
    float LevelScale = kImageHeight * 0.0078125f;
    int RelayImageHeight = kRelayImageHeight;
    float RelayLevelScale = kRelayImageHeight * 0.0078125f;
    float StepWidth = (kImageWidth - 10) / 10.0f;
    int Threshold = 0;

    // The selected curve, 1..4, from the curve buttons.
    int SelectedCurve() const;
    // Record r (1..4) of the working copy.
    servo::Record record(int r);
    servo::ConstRecord record(int r) const;

    // Messages of the page.
    static constexpr const char* kCountRange = "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..100";
    static constexpr const char* kStretchRange =
        "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..200";
    static constexpr const char* kScaleRange =
        "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 0.1 .. 10";
    static constexpr const char* kShiftRange =
        "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich -100 .. 100";
    static constexpr const char* kThresholdInput = "Ungültige Eingabe für <%s> ";

private:
    // Set-up and table. setUp keeps the context, fills the lists and captions for the decoder
    // type and reloads the curves. reloadCurves reads the table into the working copy and the
    // SW1 mode and threshold from the EEPROM, shows them, refreshes the address page and
    // disables "übernehmen" (at set-up and on "verwerfen").
    void setUp(const PageContext& context);
    void reloadCurves();
    void ReadCurves();
    void ShowCurveValues();
    void DrawCurve();
    void DrawRelay();
    // The graphs of curve `curve` (1..4) with `stepWidth` pixels from point to point.
    float stepWidthOf(int curve) const;
    pages::Drawing curveDrawing(int curve, float stepWidth) const;
    pages::Drawing relayDrawing(int curve, float stepWidth) const;

    // Handlers, bound to the controls in the constructor.
    void selectCurve();
    void changeGrid();
    // Pressing, moving and releasing the mouse on the curve graph and on the relay graph.
    void paintCurve(MouseAction action, int x, int y);
    void paintRelay(MouseAction action, int x, int y);
    void generateLinear();
    void generateLogarithmic();
    void generateQuarterSine();
    void generateHalfSine();
    void mirrorVertically();
    void mirrorHorizontally();
    void scaleCurve();
    void shiftCurve();
    // k = 1..4: "von #k".
    void copyCurve(int k);
    void loadCurve(const std::string& path);
    void saveCurve(const std::string& path);
    void loadSet(const std::string& path);
    void saveSet(const std::string& path);
    void storeSw1Mode();
    // slot = 1..4: servo_cbx_s1c, servo_cbx_s1o, servo_cbx_s2c, servo_cbx_s2o.
    void storeSlotAction(int slot);
    void discardWorkingCopy();
    void acceptWorkingCopy();

    // The three number edits, each with the spinner beside it and what its number changes.
    struct NumberEdit {
        const char* edit;
        const char* spinner;
        void (KornelPage::*change)();
    };
    static constexpr int kCountEdit = 0, kStretchEdit = 1, kThresholdEdit = 2;
    static const NumberEdit kNumberEdits[3];
    // The edit's text changed, typed or written by the page: the spinner follows and the
    // number takes effect.
    void numberTyped(int k);
    // A spinner click types its new number into its edit.
    void spinnerMoved(int k);
    void changeCount();
    void changeStretch();
    void changeThreshold();
    // While the mouse is down: the point or relay step under (x, y) of the selected curve.
    void drawCurvePoint(int x, int y);
    void drawRelayStep(int x, int y);

    Control& ctl(const char* name);
    const Control& ctl(const char* name) const;
    // The program writes an edit's text: as on a window, its change handler runs when the
    // text differs, and the edit's spinner follows.
    void putText(const char* name, const std::string& text);
    void showStored(Control& edit, const std::string& text) override;
    void setItems(Control& c, std::vector<std::string> items);
    void setSelected(Control& c, int index);
    void applySw1Visibility();
    // The push-button lists from entry 110 of their records.
    void ShowButtonActions();
    bool hasThreshold() const;
    // Runs a generator or transform on the selected record, redraws, enables "übernehmen".
    void transform(void (*fn)(servo::Record));
    void warn(const char* text, const char* focus);
    // An entry of the working copy as the byte written into the image.
    static int tableByte(std::int32_t entry) { return entry & 0xFF; }

    // The prompter of the context shown with; none before the page was shown.
    Prompter* prompter() { return m_context ? &m_context->prompter : nullptr; }
    // The firmware file the page was shown for (empty before it was shown).
    std::string loadedFile() const;
    int m_identifier = 0;
    // The edit whose text the user is typing: ShowCurveValues leaves its text as typed.
    const Control* m_typing = nullptr;
    // Set while the program writes an edit (ShowCurveValues, reloadCurves).
    bool m_programWrite = false;
};

} // namespace hz::pages
