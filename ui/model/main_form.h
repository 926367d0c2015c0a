#pragma once

// The program's only window: every control on the six tab pages, the
// notification-area menu and the file dialog, with the values they start with.
// Members go page by page, then the tray menu; a container always comes before
// the controls inside it, since those take its address and its tab page.

#include <string>

#include "ui/model/controls.h"

namespace velmo {

class MainForm : public Form {
  public:
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kClientWidth = 6090;
    // One row taller than the six pages need, for the box under "Start On Tray".
    static constexpr int kClientHeight = 6825;

    // Previews and editors use a fixed-pitch font so that bordered signatures
    // line up exactly as they will in a plain-text mail.
    static inline const FontSpec kFixedPitch{"Courier New", 8.25};

    MainForm();

    const std::string Icon = "icon";

    TabControl Tabs{
        *this,
        {.name = "Tabs",
         .tab = -1,
         .pos = {0, 0, 6075, 6930},
         .value = 0,
         .items = {U"Variable", U"Borders", U"Borders2", U"Fixed", U"Options", U"About"}}};

    // Tab 0, "Variable": the variable part and the general buttons.
    Image imgBanner{*this,
                    {.name = "imgBanner",
                     .tab = 0,
                     .pos = {120, 360, 5700, 840},
                     .picture = "banner",
                     .stretch = true}};
    Label lblAuthor{*this,
                    {.name = "lblAuthor",
                     .tab = 0,
                     .pos = {2280, 1080, 3615, 255},
                     .caption = U"By: A. Author and Velmo Software",
                     .font = {"Times New Roman", 8.25}}};
    TextBox txtQuoteListPath{*this,
                             {.name = "txtQuoteListPath",
                              .tab = 0,
                              .pos = {240, 1440, 4215, 285},
                              .text = U"Variable File Path",
                              .readOnly = true}};
    // Adds the quotations of another file (a fortune file, a text with one a
    // line, a list) after the entries.
    CommandButton cmdImportQuotations{*this,
                                      {.name = "cmdImportQuotations",
                                       .tab = 0,
                                       .pos = {4515, 1455, 855, 255},
                                       .caption = U"&Import..."}};
    CommandButton cmdChooseQuoteList{*this,
                                     {.name = "cmdChooseQuoteList",
                                      .tab = 0,
                                      .pos = {5400, 1320, 495, 495},
                                      .picture = "cabinet"}};
    CheckBox chkVariablePart{*this,
                             {.name = "chkVariablePart",
                              .tab = 0,
                              .pos = {240, 1800, 1935, 255},
                              .caption = U"Include Variable Part"}};
    Label lblEntryNumber{*this,
                         {.name = "lblEntryNumber",
                          .tab = 0,
                          .pos = {4560, 1820, 1335, 255},
                          .alignment = Alignment::Right}};
    TextBox txtEntry{*this,
                     {.name = "txtEntry",
                      .tab = 0,
                      .pos = {240, 2040, 5655, 1455},
                      .font = kFixedPitch,
                      .multiLine = true,
                      .scrollBars = ScrollBars::Vertical}};
    CommandButton cmdNewEntry{
        *this, {.name = "cmdNewEntry", .tab = 0, .pos = {240, 3600, 495, 255}, .caption = U"&New"}};
    CommandButton cmdFirstEntry{
        *this,
        {.name = "cmdFirstEntry", .tab = 0, .pos = {960, 3600, 495, 255}, .caption = U"|  <<"}};
    CommandButton cmdPreviousEntry{
        *this,
        {.name = "cmdPreviousEntry", .tab = 0, .pos = {1560, 3600, 375, 255}, .caption = U"<"}};
    CommandButton cmdNextEntry{
        *this, {.name = "cmdNextEntry", .tab = 0, .pos = {1920, 3600, 375, 255}, .caption = U">"}};
    CommandButton cmdLastEntry{
        *this,
        {.name = "cmdLastEntry", .tab = 0, .pos = {2400, 3600, 495, 255}, .caption = U">>  |"}};
    CommandButton cmdUseEntry{
        *this,
        {.name = "cmdUseEntry", .tab = 0, .pos = {3000, 3600, 615, 255}, .caption = U"&Use"}};
    CommandButton cmdDeleteEntry{*this,
                                 {.name = "cmdDeleteEntry",
                                  .tab = 0,
                                  .pos = {3840, 3600, 975, 255},
                                  .caption = U"&Delete Text"}};
    CommandButton cmdRandomize{*this,
                               {.name = "cmdRandomize",
                                .tab = 0,
                                .pos = {4920, 3600, 975, 255},
                                .caption = U"&Randomize"}};
    TextBox txtPreviewVariable{*this,
                               {.name = "txtPreviewVariable",
                                .tab = 0,
                                .pos = {240, 3960, 5655, 1635},
                                .font = kFixedPitch,
                                .multiLine = true,
                                .scrollBars = ScrollBars::Both}};
    // The size of the signature under its preview, and why a wider one is a problem.
    Label lblSizeVariable{*this,
                          {.name = "lblSizeVariable", .tab = 0, .pos = {240, 5640, 1455, 255}}};
    Label lblWideVariable{*this,
                          {.name = "lblWideVariable",
                           .tab = 0,
                           .pos = {1740, 5640, 4155, 435},
                           .foreColor = colors::Red}};
    CheckBox chkStartOnTray{*this,
                            {.name = "chkStartOnTray",
                             .tab = 0,
                             .pos = {240, 6120, 1575, 315},
                             .caption = U"S&tart On Tray"}};
    CommandButton cmdTrayMinimizeVariable{*this,
                                          {.name = "cmdTrayMinimizeVariable",
                                           .tab = 0,
                                           .pos = {1800, 6120, 1215, 255},
                                           .caption = U"Tray &Minimize"}};
    CommandButton cmdSaveSettingsVariable{*this,
                                          {.name = "cmdSaveSettingsVariable",
                                           .tab = 0,
                                           .pos = {3360, 6120, 1215, 255},
                                           .caption = U"&Save Settings"}};
    CommandButton cmdExit{
        *this, {.name = "cmdExit", .tab = 0, .pos = {5040, 6120, 855, 255}, .caption = U"&Exit"}};
    // Whether the desktop starts the program at login: the state of the
    // desktop's entry, not a stored option; hidden where there is none to write.
    CheckBox chkAutostart{*this,
                          {.name = "chkAutostart",
                           .tab = 0,
                           .pos = {240, 6435, 2175, 315},
                           .caption = U"Start &with the desktop"}};
    CommonDialog dlgSignatureFile{*this,
                                  {.name = "dlgSignatureFile",
                                   .tab = 0,
                                   .caption = U"Find The Signature File...",
                                   .visible = false}};

    // Tab 1, "Borders": wrap width, top and bottom borders.
    CheckBox chkBorder{*this,
                       {.name = "chkBorder",
                        .tab = 1,
                        .pos = {240, 540, 1575, 375},
                        .caption = U"Include Borders"}};
    Label lblPlainWidth{*this,
                        {.name = "lblPlainWidth",
                         .tab = 1,
                         .pos = {2040, 660, 2175, 255},
                         .caption = U"Non-Bordered WordWrap at "}};
    ComboBox cmbPlainWidth{*this,
                           {.name = "cmbPlainWidth",
                            .tab = 1,
                            .pos = {4200, 540, 615, 315},
                            .items = {U"40", U"60", U"80", U"100"}}};
    Label lblPlainWidthUnit{*this,
                            {.name = "lblPlainWidthUnit",
                             .tab = 1,
                             .pos = {4800, 660, 855, 255},
                             .caption = U"characters"}};
    Frame frmTopBorder{*this,
                       {.name = "frmTopBorder",
                        .tab = 1,
                        .pos = {120, 900, 5655, 1215},
                        .caption = U"Top Border ",
                        .enabled = false}};
    Label lblTopLikeHint{*this,
                         {.name = "lblTopLikeHint",
                          .container = &frmTopBorder,
                          .pos = {1200, 120, 4335, 255},
                          .caption = U"Must have at least 40 characters in the Like box to use it.",
                          .foreColor = colors::SystemHighlight}};
    Frame frmTopChoice{*this,
                       {.name = "frmTopChoice",
                        .container = &frmTopBorder,
                        .pos = {120, 360, 975, 735},
                        .borderless = true}};
    OptionButton optTopLike{*this,
                            {.name = "optTopLike",
                             .container = &frmTopChoice,
                             .pos = {0, 0, 735, 315},
                             .caption = U"Like",
                             .enabled = false}};
    OptionButton optTopRepeat{*this,
                              {.name = "optTopRepeat",
                               .container = &frmTopChoice,
                               .pos = {0, 360, 855, 315},
                               .caption = U"Repeat",
                               .value = 1,
                               .enabled = false}};
    TextBox txtTopLike{*this,
                       {.name = "txtTopLike",
                        .container = &frmTopBorder,
                        .pos = {1200, 360, 4335, 285},
                        .enabled = false,
                        .maxLength = 100}};
    TextBox txtTopRepeat{*this,
                         {.name = "txtTopRepeat",
                          .container = &frmTopBorder,
                          .pos = {1200, 720, 735, 285},
                          .text = U"*",
                          .enabled = false,
                          .maxLength = 6}};
    Label lblBorderedWidth{*this,
                           {.name = "lblBorderedWidth",
                            .container = &frmTopBorder,
                            .pos = {2040, 840, 615, 255},
                            .caption = U"   to total",
                            .enabled = false}};
    ComboBox cmbBorderedWidth{*this,
                              {.name = "cmbBorderedWidth",
                               .container = &frmTopBorder,
                               .pos = {3000, 720, 615, 315},
                               .enabled = false,
                               .items = {U"40", U"60", U"80", U"100"}}};
    Label lblBorderedWidthUnit{*this,
                               {.name = "lblBorderedWidthUnit",
                                .container = &frmTopBorder,
                                .pos = {3720, 840, 1215, 255},
                                .caption = U"characters"}};
    Label lblTopLikeLength{
        *this,
        {.name = "lblTopLikeLength", .container = &frmTopBorder, .pos = {5160, 720, 375, 255}}};
    Frame frmBottomBorder{*this,
                          {.name = "frmBottomBorder",
                           .tab = 1,
                           .pos = {120, 2340, 5655, 1575},
                           .caption = U"Bottom Border ",
                           .enabled = false}};
    Frame frmBottomChoice{*this,
                          {.name = "frmBottomChoice",
                           .container = &frmBottomBorder,
                           .pos = {120, 360, 1095, 1095},
                           .borderless = true}};
    OptionButton optBottomLike{*this,
                               {.name = "optBottomLike",
                                .container = &frmBottomChoice,
                                .pos = {0, 0, 855, 255},
                                .caption = U"Like",
                                .enabled = false}};
    OptionButton optBottomRepeat{*this,
                                 {.name = "optBottomRepeat",
                                  .container = &frmBottomChoice,
                                  .pos = {0, 360, 855, 255},
                                  .caption = U"Repeat",
                                  .enabled = false}};
    OptionButton optBottomSameAsTop{*this,
                                    {.name = "optBottomSameAsTop",
                                     .container = &frmBottomChoice,
                                     .pos = {0, 720, 1095, 375},
                                     .caption = U"Same as Top",
                                     .value = 1,
                                     .enabled = false}};
    TextBox txtBottomLike{*this,
                          {.name = "txtBottomLike",
                           .container = &frmBottomBorder,
                           .pos = {1200, 360, 4335, 285},
                           .maxLength = 100}};
    TextBox txtBottomRepeat{*this,
                            {.name = "txtBottomRepeat",
                             .container = &frmBottomBorder,
                             .pos = {1200, 720, 735, 285},
                             .text = U"*",
                             .maxLength = 6}};
    Label lblBottomLikeHint{
        *this,
        {.name = "lblBottomLikeHint",
         .container = &frmBottomBorder,
         .pos = {2160, 720, 3375, 495},
         .caption = U"If you use bottom border \"Like\" make it the same size or "
                    U"less as the top border.",
         .foreColor = colors::SystemHighlight}};
    Label lblBottomLikeLength{*this,
                              {.name = "lblBottomLikeLength",
                               .container = &frmBottomBorder,
                               .pos = {5160, 720, 375, 255}}};
    TextBox txtPreviewBorders{*this,
                              {.name = "txtPreviewBorders",
                               .tab = 1,
                               .pos = {120, 3960, 5655, 1635},
                               .font = kFixedPitch,
                               .multiLine = true,
                               .scrollBars = ScrollBars::Both}};
    Label lblSizeBorders{*this,
                         {.name = "lblSizeBorders", .tab = 1, .pos = {120, 5640, 1455, 255}}};
    Label lblWideBorders{*this,
                         {.name = "lblWideBorders",
                          .tab = 1,
                          .pos = {1620, 5640, 4155, 435},
                          .foreColor = colors::Red}};
    CommandButton cmdApplyBorders{
        *this,
        {.name = "cmdApplyBorders", .tab = 1, .pos = {120, 6180, 1215, 255}, .caption = U"Apply"}};
    CommandButton cmdTrayMinimizeBorders{*this,
                                         {.name = "cmdTrayMinimizeBorders",
                                          .tab = 1,
                                          .pos = {2040, 6180, 1695, 255},
                                          .caption = U"Tray Minimize"}};
    CommandButton cmdSaveSettingsBorders{*this,
                                         {.name = "cmdSaveSettingsBorders",
                                          .tab = 1,
                                          .pos = {4200, 6180, 1575, 255},
                                          .caption = U"Save Settings"}};

    // Tab 2, "Borders2": side borders and separator.
    Frame frmSideBorders{*this,
                         {.name = "frmSideBorders",
                          .tab = 2,
                          .pos = {120, 780, 5655, 1575},
                          .caption = U"Side Borders / Separator"}};
    Label lblLeftSide{*this,
                      {.name = "lblLeftSide",
                       .container = &frmSideBorders,
                       .pos = {120, 240, 375, 255},
                       .caption = U"Left",
                       .enabled = false}};
    Label lblLeftLike{*this,
                      {.name = "lblLeftLike",
                       .container = &frmSideBorders,
                       .pos = {480, 240, 495, 255},
                       .caption = U"Like",
                       .enabled = false}};
    TextBox txtLeftLike{*this,
                        {.name = "txtLeftLike",
                         .container = &frmSideBorders,
                         .pos = {240, 480, 855, 285},
                         .text = U"**",
                         .enabled = false,
                         .maxLength = 6}};
    // Narrow enough that the caption wraps onto two lines.
    Label lblIndent{*this,
                    {.name = "lblIndent",
                     .container = &frmSideBorders,
                     .pos = {120, 960, 495, 495},
                     .caption = U"Indent Spaces",
                     .enabled = false}};
    ComboBox cmbIndent{*this,
                       {.name = "cmbIndent",
                        .container = &frmSideBorders,
                        .pos = {720, 960, 615, 315},
                        .enabled = false,
                        .items = {U"0", U"1", U"2", U"3", U"4"}}};
    LineShape linLeftDivider{
        *this,
        {.name = "linLeftDivider", .container = &frmSideBorders, .line = {1560, 240, 1560, 1440}}};
    Label lblRightSide{*this,
                       {.name = "lblRightSide",
                        .container = &frmSideBorders,
                        .pos = {1680, 240, 495, 255},
                        .caption = U"Right",
                        .enabled = false}};
    Label lblRightLike{*this,
                       {.name = "lblRightLike",
                        .container = &frmSideBorders,
                        .pos = {2160, 240, 495, 255},
                        .caption = U"Like"}};
    Frame frmRightSide{*this,
                       {.name = "frmRightSide",
                        .container = &frmSideBorders,
                        .pos = {1800, 480, 1335, 855},
                        .caption = U"Frame6",
                        .borderless = true}};
    TextBox txtRightLike{*this,
                         {.name = "txtRightLike",
                          .container = &frmRightSide,
                          .pos = {0, 0, 855, 285},
                          .text = U"**",
                          .enabled = false,
                          .maxLength = 6}};
    // Left of the frame's edge, so the user never sees it.
    OptionButton optRightLike{*this,
                              {.name = "optRightLike",
                               .container = &frmRightSide,
                               .pos = {-840, 0, 615, 255},
                               .caption = U"Like",
                               .enabled = false}};
    CheckBox chkRightSameAsLeft{*this,
                                {.name = "chkRightSameAsLeft",
                                 .container = &frmRightSide,
                                 .pos = {0, 600, 1335, 255},
                                 .caption = U"Same as Left"}};
    LineShape linRightDivider{
        *this,
        {.name = "linRightDivider", .container = &frmSideBorders, .line = {3240, 240, 3240, 1440}}};
    Label lblSeparator{*this,
                       {.name = "lblSeparator",
                        .container = &frmSideBorders,
                        .pos = {3360, 240, 1575, 255},
                        .caption = U"Separator"}};
    Frame frmSeparator{*this,
                       {.name = "frmSeparator",
                        .container = &frmSideBorders,
                        .pos = {3480, 480, 1815, 975},
                        .caption = U"Separator",
                        .borderless = true}};
    OptionButton optSeparatorNone{*this,
                                  {.name = "optSeparatorNone",
                                   .container = &frmSeparator,
                                   .pos = {120, 0, 735, 255},
                                   .caption = U"None"}};
    OptionButton optSeparatorBlankLine{*this,
                                       {.name = "optSeparatorBlankLine",
                                        .container = &frmSeparator,
                                        .pos = {120, 240, 1455, 255},
                                        .caption = U"Blank Line",
                                        .value = 1}};
    OptionButton optSeparatorSameAsTop{*this,
                                       {.name = "optSeparatorSameAsTop",
                                        .container = &frmSeparator,
                                        .pos = {120, 480, 1455, 255},
                                        .caption = U"Same as Top",
                                        .enabled = false}};
    OptionButton optSeparatorSameAsBottom{*this,
                                          {.name = "optSeparatorSameAsBottom",
                                           .container = &frmSeparator,
                                           .pos = {120, 720, 1575, 255},
                                           .caption = U"Same as Bottom",
                                           .enabled = false}};
    CheckBox chkBlankRows{*this,
                          {.name = "chkBlankRows",
                           .tab = 2,
                           .pos = {120, 2520, 3975, 255},
                           .caption = U"Add Space Under Top, and Above Bottom Borders",
                           .enabled = false}};
    Label lblMotto{*this,
                   {.name = "lblMotto",
                    .tab = 2,
                    .pos = {120, 2880, 5655, 975},
                    .caption = U"True education is to know and to do the will of God.",
                    .font = {"Comic Sans MS", 18},
                    .alignment = Alignment::Center,
                    .foreColor = colors::Grey}};
    TextBox txtPreviewSideBorders{*this,
                                  {.name = "txtPreviewSideBorders",
                                   .tab = 2,
                                   .pos = {120, 3960, 5655, 1635},
                                   .font = kFixedPitch,
                                   .multiLine = true,
                                   .scrollBars = ScrollBars::Both}};
    Label lblSizeSideBorders{
        *this, {.name = "lblSizeSideBorders", .tab = 2, .pos = {120, 5640, 1455, 255}}};
    Label lblWideSideBorders{*this,
                             {.name = "lblWideSideBorders",
                              .tab = 2,
                              .pos = {1620, 5640, 4155, 435},
                              .foreColor = colors::Red}};
    CommandButton cmdApplySideBorders{*this,
                                      {.name = "cmdApplySideBorders",
                                       .tab = 2,
                                       .pos = {120, 6180, 1215, 255},
                                       .caption = U"Apply"}};
    CommandButton cmdTrayMinimizeSideBorders{*this,
                                             {.name = "cmdTrayMinimizeSideBorders",
                                              .tab = 2,
                                              .pos = {1920, 6180, 1575, 255},
                                              .caption = U"Tray Minimize"}};
    CommandButton cmdSaveSettingsSideBorders{*this,
                                             {.name = "cmdSaveSettingsSideBorders",
                                              .tab = 2,
                                              .pos = {4320, 6180, 1455, 255},
                                              .caption = U"Save Settings"}};

    // Tab 3, "Fixed": the fixed part and the order of the parts.
    CheckBox chkFixedPart{*this,
                          {.name = "chkFixedPart",
                           .tab = 3,
                           .pos = {240, 660, 2175, 255},
                           .caption = U"Include Fixed Part"}};
    TextBox txtFixedText{*this,
                         {.name = "txtFixedText",
                          .tab = 3,
                          .pos = {240, 1020, 5655, 1935},
                          .font = kFixedPitch,
                          .multiLine = true,
                          .scrollBars = ScrollBars::Vertical}};
    Frame frmOrder{
        *this, {.name = "frmOrder", .tab = 3, .pos = {240, 3180, 5655, 615}, .caption = U"Order"}};
    OptionButton optVariableFirst{*this,
                                  {.name = "optVariableFirst",
                                   .container = &frmOrder,
                                   .pos = {1440, 240, 1215, 255},
                                   .caption = U"Variable First",
                                   .value = 1}};
    OptionButton optFixedFirst{*this,
                               {.name = "optFixedFirst",
                                .container = &frmOrder,
                                .pos = {3360, 240, 1095, 195},
                                .caption = U"Fixed First"}};
    TextBox txtPreviewFixed{*this,
                            {.name = "txtPreviewFixed",
                             .tab = 3,
                             .pos = {240, 3960, 5655, 1635},
                             .font = kFixedPitch,
                             .multiLine = true,
                             .scrollBars = ScrollBars::Both}};
    Label lblSizeFixed{*this, {.name = "lblSizeFixed", .tab = 3, .pos = {240, 5640, 1455, 255}}};
    Label lblWideFixed{*this,
                       {.name = "lblWideFixed",
                        .tab = 3,
                        .pos = {1740, 5640, 4155, 435},
                        .foreColor = colors::Red}};
    CommandButton cmdApplyFixed{
        *this,
        {.name = "cmdApplyFixed", .tab = 3, .pos = {240, 6180, 1575, 255}, .caption = U"&Apply "}};
    CommandButton cmdTrayMinimizeFixed{*this,
                                       {.name = "cmdTrayMinimizeFixed",
                                        .tab = 3,
                                        .pos = {2280, 6180, 1575, 255},
                                        .caption = U"Tray Minimize"}};
    CommandButton cmdSaveSettingsFixed{*this,
                                       {.name = "cmdSaveSettingsFixed",
                                        .tab = 3,
                                        .pos = {4440, 6180, 1455, 255},
                                        .caption = U"&Save Settings"}};

    // Tab 4, "Options": schedule and output.
    SliderControl sldChangeInterval{*this,
                                    {.name = "sldChangeInterval",
                                     .tab = 4,
                                     .pos = {360, 960, 5415, 495},
                                     .text = U"",
                                     .value = 0,
                                     .min = 0,
                                     .max = 8}};
    Label lblChangesEvery{*this,
                          {.name = "lblChangesEvery",
                           .tab = 4,
                           .pos = {480, 1440, 2175, 255},
                           .caption = U"Variable Part Changes Every:"}};
    Label lblChangeInterval{*this,
                            {.name = "lblChangeInterval", .tab = 4, .pos = {2640, 1440, 975, 255}}};
    CheckBox chkNoRepeats{*this,
                          {.name = "chkNoRepeats",
                           .tab = 4,
                           .pos = {480, 540, 3615, 255},
                           .caption = U"No repeats until all are used"}};
    Frame frmOutput{
        *this,
        {.name = "frmOutput", .tab = 4, .pos = {360, 1920, 5415, 1935}, .caption = U"Output To"}};
    CheckBox chkClipboard{*this,
                          {.name = "chkClipboard",
                           .container = &frmOutput,
                           .pos = {120, 720, 975, 255},
                           .caption = U"&Clipboard"}};
    CheckBox chkSignatureFile{*this,
                              {.name = "chkSignatureFile",
                               .container = &frmOutput,
                               .pos = {120, 1200, 1935, 255},
                               .caption = U"&Send to Signature File",
                               .value = 1}};
    TextBox txtSignatureFilePath{*this,
                                 {.name = "txtSignatureFilePath",
                                  .container = &frmOutput,
                                  .pos = {120, 1560, 4695, 285},
                                  .text = U"Signature File Location",
                                  .readOnly = true}};
    CommandButton cmdChooseSignatureFile{*this,
                                         {.name = "cmdChooseSignatureFile",
                                          .container = &frmOutput,
                                          .pos = {4800, 1350, 495, 495},
                                          .picture = "cabinet"}};
    Frame frmOutputType{*this,
                        {.name = "frmOutputType",
                         .container = &frmOutput,
                         .pos = {2760, 240, 1695, 1095},
                         .caption = U"Output Type"}};
    OptionButton optText{*this,
                         {.name = "optText",
                          .container = &frmOutputType,
                          .pos = {240, 240, 1335, 255},
                          .caption = U"Text",
                          .value = 1}};
    OptionButton optHTML{*this,
                         {.name = "optHTML",
                          .container = &frmOutputType,
                          .pos = {240, 480, 1095, 255},
                          .caption = U"HTML"}};
    OptionButton optRTF{*this,
                        {.name = "optRTF",
                         .container = &frmOutputType,
                         .pos = {240, 720, 1335, 255},
                         .caption = U"Rich Text"}};
    Label lblAdvert{*this,
                    {.name = "lblAdvert",
                     .tab = 4,
                     .pos = {720, 4080, 4815, 1815},
                     .caption = U"A fresh signature in every mail, without a thought.",
                     .font = {"Comic Sans MS", 15.75},
                     .alignment = Alignment::Center,
                     .foreColor = colors::Red}};
    CommandButton cmdApplyOptions{
        *this,
        {.name = "cmdApplyOptions", .tab = 4, .pos = {240, 6120, 1695, 240}, .caption = U"Apply"}};
    CommandButton cmdTrayMinimizeOptions{*this,
                                         {.name = "cmdTrayMinimizeOptions",
                                          .tab = 4,
                                          .pos = {2160, 6120, 1695, 255},
                                          .caption = U"Minimize Tray"}};
    CommandButton cmdSaveSettingsOptions{*this,
                                         {.name = "cmdSaveSettingsOptions",
                                          .tab = 4,
                                          .pos = {4320, 6120, 1455, 255},
                                          .caption = U"Save Settings"}};

    // Tab 5, "About".
    Image imgAboutBanner{*this,
                         {.name = "imgAboutBanner",
                          .tab = 5,
                          .pos = {360, 360, 5340, 720},
                          .picture = "banner",
                          .stretch = true}};
    Image imgIcon{*this,
                  {.name = "imgIcon", .tab = 5, .pos = {360, 960, 480, 480}, .picture = "icon"}};
    Label lblVersion{*this,
                     {.name = "lblVersion",
                      .tab = 5,
                      .pos = {3960, 1080, 1245, 225},
                      .caption = U"Ver.",
                      .font = {.bold = true, .italic = true},
                      .alignment = Alignment::Right}};
    Label lblDescription{*this,
                         {.name = "lblDescription",
                          .tab = 5,
                          .pos = {360, 1560, 5325, 3450},
                          .foreColor = colors::Black}};
    Label lblMailAddress{*this,
                         {.name = "lblMailAddress",
                          .tab = 5,
                          .pos = {1800, 5040, 2775, 255},
                          .caption = U"velmo@example.org"}};
    Label lblHomePageTitle{*this,
                           {.name = "lblHomePageTitle",
                            .tab = 5,
                            .pos = {360, 5280, 5295, 495},
                            .caption = U"Home Page for Velmo",
                            .font = {"Comic Sans MS", 20.25},
                            .alignment = Alignment::Center,
                            .foreColor = colors::Red}};
    Label lblHomePage{*this,
                      {.name = "lblHomePage",
                       .tab = 5,
                       .pos = {1560, 5880, 3015, 375},
                       .caption = U"https://velmo.example.org/"}};
    CommandButton cmdHelp{
        *this, {.name = "cmdHelp", .tab = 5, .pos = {4680, 5880, 1020, 375}, .caption = U"&Help"}};

    // The notification-area pop-up; its top item is never shown as a menu bar.
    MenuItem mnuTray{*this, {.name = "mnuTray", .caption = U"&TrayMenu", .visible = false}};
    MenuItem mnuOpenWindow{
        *this, {.name = "mnuOpenWindow", .container = &mnuTray, .caption = U"&Open Window"}};
    // The window starts hidden, so only "Open Window" is offered at first.
    MenuItem mnuPutOnTray{*this,
                          {.name = "mnuPutOnTray",
                           .container = &mnuTray,
                           .caption = U"&Put on Tray",
                           .visible = false}};
    MenuItem mnuSeparatorWindow{
        *this, {.name = "mnuSeparatorWindow", .container = &mnuTray, .caption = U"-"}};
    MenuItem mnuLoadClipboard{
        *this, {.name = "mnuLoadClipboard", .container = &mnuTray, .caption = U"&Load Clipboard"}};
    MenuItem mnuCopySignature{*this,
                              {.name = "mnuCopySignature",
                               .container = &mnuLoadClipboard,
                               .caption = U"Full &Signature"}};
    MenuItem mnuCopyVariablePart{*this,
                                 {.name = "mnuCopyVariablePart",
                                  .container = &mnuLoadClipboard,
                                  .caption = U"&Variable Part"}};
    MenuItem mnuCopyFixedPart{
        *this,
        {.name = "mnuCopyFixedPart", .container = &mnuLoadClipboard, .caption = U"&Fixed Part"}};
    MenuItem mnuSeparatorClipboard{
        *this, {.name = "mnuSeparatorClipboard", .container = &mnuTray, .caption = U"-"}};
    MenuItem mnuRandomize{
        *this, {.name = "mnuRandomize", .container = &mnuTray, .caption = U"&Randomize"}};
    MenuItem mnuHelp{*this, {.name = "mnuHelp", .container = &mnuTray, .caption = U"&Help"}};
    MenuItem mnuSeparatorQuit{*this,
                              {.name = "mnuSeparatorQuit", .container = &mnuTray, .caption = U"-"}};
    MenuItem mnuQuit{*this, {.name = "mnuQuit", .container = &mnuTray, .caption = U"&Quit"}};
};

}  // namespace velmo
