#pragma once

// The program's only window: every control on the six tab pages, the
// notification-area menu and the file dialog, with their design-time values.
// Members are in inventory order, and a container always comes before the
// controls inside it, since those take its address and its tab page.

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
    Image Image3{*this,
                 {.name = "Image3",
                  .tab = 0,
                  .pos = {120, 360, 5700, 840},
                  .picture = "banner",
                  .stretch = true}};
    Label Label2{*this,
                 {.name = "Label2",
                  .tab = 0,
                  .pos = {2280, 1080, 3615, 255},
                  .caption = U"By: A. Author and Velmo Software",
                  .font = {"Times New Roman", 8.25}}};
    TextBox txtVarFile{*this,
                       {.name = "txtVarFile",
                        .tab = 0,
                        .pos = {240, 1440, 5295, 285},
                        .text = U"Variable File Path",
                        .readOnly = true}};
    CommandButton cmdVarFile{
        *this,
        {.name = "cmdVarFile", .tab = 0, .pos = {5400, 1320, 495, 495}, .picture = "cabinet"}};
    CheckBox chkVar{*this,
                    {.name = "chkVar",
                     .tab = 0,
                     .pos = {240, 1800, 1935, 255},
                     .caption = U"Include Variable Part"}};
    Label IndNumber{*this,
                    {.name = "IndNumber",
                     .tab = 0,
                     .pos = {4560, 1820, 1335, 255},
                     .alignment = Alignment::Right}};
    TextBox txtVar{*this,
                   {.name = "txtVar",
                    .tab = 0,
                    .pos = {240, 2040, 5655, 1455},
                    .font = kFixedPitch,
                    .multiLine = true,
                    .scrollBars = ScrollBars::Vertical}};
    CommandButton btnNew{
        *this, {.name = "btnNew", .tab = 0, .pos = {240, 3600, 495, 255}, .caption = U"&New"}};
    CommandButton btnAllBack{
        *this, {.name = "btnAllBack", .tab = 0, .pos = {960, 3600, 495, 255}, .caption = U"|  <<"}};
    CommandButton btnBackOne{
        *this, {.name = "btnBackOne", .tab = 0, .pos = {1560, 3600, 375, 255}, .caption = U"<"}};
    CommandButton btnForwardOne{
        *this, {.name = "btnForwardOne", .tab = 0, .pos = {1920, 3600, 375, 255}, .caption = U">"}};
    CommandButton btnForwardAll{
        *this,
        {.name = "btnForwardAll", .tab = 0, .pos = {2400, 3600, 495, 255}, .caption = U">>  |"}};
    CommandButton UseEntry{
        *this, {.name = "UseEntry", .tab = 0, .pos = {3000, 3600, 615, 255}, .caption = U"&Use"}};
    CommandButton btnDelete{
        *this,
        {.name = "btnDelete", .tab = 0, .pos = {3840, 3600, 975, 255}, .caption = U"&Delete Text"}};
    CommandButton btnRandomize{*this,
                               {.name = "btnRandomize",
                                .tab = 0,
                                .pos = {4920, 3600, 975, 255},
                                .caption = U"&Randomize"}};
    TextBox txtSignature{*this,
                         {.name = "txtSignature",
                          .tab = 0,
                          .pos = {240, 3960, 5655, 2055},
                          .font = kFixedPitch,
                          .multiLine = true,
                          .scrollBars = ScrollBars::Both}};
    CheckBox chkTray{
        *this,
        {.name = "chkTray", .tab = 0, .pos = {240, 6120, 1575, 315}, .caption = U"S&tart On Tray"}};
    CommandButton btnHide{*this,
                          {.name = "btnHide",
                           .tab = 0,
                           .pos = {1800, 6120, 1215, 255},
                           .caption = U"Tray &Minimize"}};
    CommandButton btnSaveSett2{*this,
                               {.name = "btnSaveSett2",
                                .tab = 0,
                                .pos = {3360, 6120, 1215, 255},
                                .caption = U"&Save Settings"}};
    CommandButton btnClose{
        *this, {.name = "btnClose", .tab = 0, .pos = {5040, 6120, 855, 255}, .caption = U"&Exit"}};
    // Whether the desktop starts the program at login: the state of the
    // desktop's entry, not a stored option; hidden where there is none to write.
    CheckBox chkAutostart{*this,
                          {.name = "chkAutostart",
                           .tab = 0,
                           .pos = {240, 6435, 2175, 315},
                           .caption = U"Start &with the desktop"}};
    CommonDialog CommonDialog1{*this,
                               {.name = "CommonDialog1",
                                .tab = 0,
                                .caption = U"Find The Signature File...",
                                .visible = false}};

    // Tab 1, "Borders": wrap width, top and bottom borders.
    CheckBox chkBorder{*this,
                       {.name = "chkBorder",
                        .tab = 1,
                        .pos = {240, 540, 1575, 375},
                        .caption = U"Include Borders"}};
    Label lblFixedWidth{*this,
                        {.name = "lblFixedWidth",
                         .tab = 1,
                         .pos = {2040, 660, 2175, 255},
                         .caption = U"Non-Bordered WordWrap at "}};
    ComboBox cmbFixWidth{*this,
                         {.name = "cmbFixWidth",
                          .tab = 1,
                          .pos = {4200, 540, 615, 315},
                          .items = {U"40", U"60", U"80", U"100"}}};
    Label Label4{
        *this,
        {.name = "Label4", .tab = 1, .pos = {4800, 660, 855, 255}, .caption = U"characters"}};
    Frame frmTB{*this,
                {.name = "frmTB",
                 .tab = 1,
                 .pos = {120, 900, 5655, 1215},
                 .caption = U"Top Border ",
                 .enabled = false}};
    Label lblTopBorder{*this,
                       {.name = "lblTopBorder",
                        .container = &frmTB,
                        .pos = {1200, 120, 4335, 255},
                        .caption = U"Must have at least 40 characters in the Like box to use it.",
                        .foreColor = colors::SystemHighlight}};
    Frame optTBOption{*this,
                      {.name = "optTBOption",
                       .container = &frmTB,
                       .pos = {120, 360, 975, 735},
                       .borderless = true}};
    OptionButton optTBLike{*this,
                           {.name = "optTBLike",
                            .container = &optTBOption,
                            .pos = {0, 0, 735, 315},
                            .caption = U"Like",
                            .enabled = false}};
    OptionButton optTBRepeat{*this,
                             {.name = "optTBRepeat",
                              .container = &optTBOption,
                              .pos = {0, 360, 855, 315},
                              .caption = U"Repeat",
                              .value = 1,
                              .enabled = false}};
    TextBox txtTBLike{*this,
                      {.name = "txtTBLike",
                       .container = &frmTB,
                       .pos = {1200, 360, 4335, 285},
                       .enabled = false,
                       .maxLength = 100}};
    TextBox txtTBRepeat{*this,
                        {.name = "txtTBRepeat",
                         .container = &frmTB,
                         .pos = {1200, 720, 735, 285},
                         .text = U"*",
                         .enabled = false,
                         .maxLength = 6}};
    Label lblWidth{*this,
                   {.name = "lblWidth",
                    .container = &frmTB,
                    .pos = {2040, 840, 615, 255},
                    .caption = U"   to total",
                    .enabled = false}};
    ComboBox cmbWidth{*this,
                      {.name = "cmbWidth",
                       .container = &frmTB,
                       .pos = {3000, 720, 615, 315},
                       .enabled = false,
                       .items = {U"40", U"60", U"80", U"100"}}};
    Label Label1{*this,
                 {.name = "Label1",
                  .container = &frmTB,
                  .pos = {3720, 840, 1215, 255},
                  .caption = U"characters"}};
    Label lblTBLen{*this, {.name = "lblTBLen", .container = &frmTB, .pos = {5160, 720, 375, 255}}};
    Frame frmBB{*this,
                {.name = "frmBB",
                 .tab = 1,
                 .pos = {120, 2340, 5655, 1575},
                 .caption = U"Bottom Border ",
                 .enabled = false}};
    Frame optBBOption{*this,
                      {.name = "optBBOption",
                       .container = &frmBB,
                       .pos = {120, 360, 1095, 1095},
                       .borderless = true}};
    OptionButton optBBLike{*this,
                           {.name = "optBBLike",
                            .container = &optBBOption,
                            .pos = {0, 0, 855, 255},
                            .caption = U"Like",
                            .enabled = false}};
    OptionButton optBBRepeat{*this,
                             {.name = "optBBRepeat",
                              .container = &optBBOption,
                              .pos = {0, 360, 855, 255},
                              .caption = U"Repeat",
                              .enabled = false}};
    OptionButton optBBSame{*this,
                           {.name = "optBBSame",
                            .container = &optBBOption,
                            .pos = {0, 720, 1095, 375},
                            .caption = U"Same as Top",
                            .value = 1,
                            .enabled = false}};
    TextBox txtBBLike{*this,
                      {.name = "txtBBLike",
                       .container = &frmBB,
                       .pos = {1200, 360, 4335, 285},
                       .maxLength = 100}};
    TextBox txtBBRepeat{*this,
                        {.name = "txtBBRepeat",
                         .container = &frmBB,
                         .pos = {1200, 720, 735, 285},
                         .text = U"*",
                         .maxLength = 6}};
    Label lblBottomBorder{*this,
                          {.name = "lblBottomBorder",
                           .container = &frmBB,
                           .pos = {2160, 720, 3375, 495},
                           .caption = U"If you use bottom border \"Like\" make it the same size or "
                                      U"less as the top border.",
                           .foreColor = colors::SystemHighlight}};
    Label lblBBLen{*this, {.name = "lblBBLen", .container = &frmBB, .pos = {5160, 720, 375, 255}}};
    TextBox txtSignature2{*this,
                          {.name = "txtSignature2",
                           .tab = 1,
                           .pos = {120, 3960, 5655, 2055},
                           .font = kFixedPitch,
                           .multiLine = true,
                           .scrollBars = ScrollBars::Both}};
    CommandButton cmdApply2{
        *this, {.name = "cmdApply2", .tab = 1, .pos = {120, 6180, 1215, 255}, .caption = U"Apply"}};
    CommandButton cmdTray2{*this,
                           {.name = "cmdTray2",
                            .tab = 1,
                            .pos = {2040, 6180, 1695, 255},
                            .caption = U"Tray Minimize"}};
    CommandButton cmdSave2{*this,
                           {.name = "cmdSave2",
                            .tab = 1,
                            .pos = {4200, 6180, 1575, 255},
                            .caption = U"Save Settings"}};

    // Tab 2, "Borders2": side borders and separator.
    Frame frmSBS{*this,
                 {.name = "frmSBS",
                  .tab = 2,
                  .pos = {120, 780, 5655, 1575},
                  .caption = U"Side Borders / Separator"}};
    Label lblSBSLeft{*this,
                     {.name = "lblSBSLeft",
                      .container = &frmSBS,
                      .pos = {120, 240, 375, 255},
                      .caption = U"Left",
                      .enabled = false}};
    Label lblSBSLeftLike{*this,
                         {.name = "lblSBSLeftLike",
                          .container = &frmSBS,
                          .pos = {480, 240, 495, 255},
                          .caption = U"Like",
                          .enabled = false}};
    TextBox txtSBSLeftLike{*this,
                           {.name = "txtSBSLeftLike",
                            .container = &frmSBS,
                            .pos = {240, 480, 855, 285},
                            .text = U"**",
                            .enabled = false,
                            .maxLength = 6}};
    // Narrow enough that the caption wraps onto two lines.
    Label lblSBSIndent{*this,
                       {.name = "lblSBSIndent",
                        .container = &frmSBS,
                        .pos = {120, 960, 495, 495},
                        .caption = U"Indent Spaces",
                        .enabled = false}};
    ComboBox cmbSBSIndent{*this,
                          {.name = "cmbSBSIndent",
                           .container = &frmSBS,
                           .pos = {720, 960, 615, 315},
                           .enabled = false,
                           .items = {U"0", U"1", U"2", U"3", U"4"}}};
    LineShape Line1{*this,
                    {.name = "Line1", .container = &frmSBS, .line = {1560, 240, 1560, 1440}}};
    Label lblSBSRight{*this,
                      {.name = "lblSBSRight",
                       .container = &frmSBS,
                       .pos = {1680, 240, 495, 255},
                       .caption = U"Right",
                       .enabled = false}};
    Label lblLikeRt{*this,
                    {.name = "lblLikeRt",
                     .container = &frmSBS,
                     .pos = {2160, 240, 495, 255},
                     .caption = U"Like"}};
    Frame Frame6{*this,
                 {.name = "Frame6",
                  .container = &frmSBS,
                  .pos = {1800, 480, 1335, 855},
                  .caption = U"Frame6",
                  .borderless = true}};
    TextBox txtSBSRightLike{*this,
                            {.name = "txtSBSRightLike",
                             .container = &Frame6,
                             .pos = {0, 0, 855, 285},
                             .text = U"**",
                             .enabled = false,
                             .maxLength = 6}};
    // Left of the frame's edge, so the user never sees it.
    OptionButton optSBSRightLike{*this,
                                 {.name = "optSBSRightLike",
                                  .container = &Frame6,
                                  .pos = {-840, 0, 615, 255},
                                  .caption = U"Like",
                                  .enabled = false}};
    CheckBox chkSBSRightSame{*this,
                             {.name = "chkSBSRightSame",
                              .container = &Frame6,
                              .pos = {0, 600, 1335, 255},
                              .caption = U"Same as Left"}};
    LineShape Line2{*this,
                    {.name = "Line2", .container = &frmSBS, .line = {3240, 240, 3240, 1440}}};
    Label lblSBSSep{*this,
                    {.name = "lblSBSSep",
                     .container = &frmSBS,
                     .pos = {3360, 240, 1575, 255},
                     .caption = U"Separator"}};
    Frame Frame8{*this,
                 {.name = "Frame8",
                  .container = &frmSBS,
                  .pos = {3480, 480, 1815, 975},
                  .caption = U"Separator",
                  .borderless = true}};
    OptionButton optSBSSepNone{*this,
                               {.name = "optSBSSepNone",
                                .container = &Frame8,
                                .pos = {120, 0, 735, 255},
                                .caption = U"None"}};
    OptionButton optSBSBlankLine{*this,
                                 {.name = "optSBSBlankLine",
                                  .container = &Frame8,
                                  .pos = {120, 240, 1455, 255},
                                  .caption = U"Blank Line",
                                  .value = 1}};
    OptionButton optSBSSameTop{*this,
                               {.name = "optSBSSameTop",
                                .container = &Frame8,
                                .pos = {120, 480, 1455, 255},
                                .caption = U"Same as Top",
                                .enabled = false}};
    OptionButton optSBSSameBottom{*this,
                                  {.name = "optSBSSameBottom",
                                   .container = &Frame8,
                                   .pos = {120, 720, 1575, 255},
                                   .caption = U"Same as Bottom",
                                   .enabled = false}};
    CheckBox chkSpace{*this,
                      {.name = "chkSpace",
                       .tab = 2,
                       .pos = {120, 2520, 3975, 255},
                       .caption = U"Add Space Under Top, and Above Bottom Borders",
                       .enabled = false}};
    Label Label3{*this,
                 {.name = "Label3",
                  .tab = 2,
                  .pos = {120, 2880, 5655, 975},
                  .caption = U"True education is to know and to do the will of God.",
                  .font = {"Comic Sans MS", 18},
                  .alignment = Alignment::Center,
                  .foreColor = colors::Grey}};
    TextBox txtSignature3{*this,
                          {.name = "txtSignature3",
                           .tab = 2,
                           .pos = {120, 3960, 5655, 2055},
                           .font = kFixedPitch,
                           .multiLine = true,
                           .scrollBars = ScrollBars::Both}};
    CommandButton cmdApply3{
        *this, {.name = "cmdApply3", .tab = 2, .pos = {120, 6180, 1215, 255}, .caption = U"Apply"}};
    CommandButton cmdTray3{*this,
                           {.name = "cmdTray3",
                            .tab = 2,
                            .pos = {1920, 6180, 1575, 255},
                            .caption = U"Tray Minimize"}};
    CommandButton cmdSave3{*this,
                           {.name = "cmdSave3",
                            .tab = 2,
                            .pos = {4320, 6180, 1455, 255},
                            .caption = U"Save Settings"}};

    // Tab 3, "Fixed": the fixed part and the order of the parts.
    CheckBox chkFixed{*this,
                      {.name = "chkFixed",
                       .tab = 3,
                       .pos = {240, 660, 2175, 255},
                       .caption = U"Include Fixed Part"}};
    TextBox txtFixed{*this,
                     {.name = "txtFixed",
                      .tab = 3,
                      .pos = {240, 1020, 5655, 1935},
                      .font = kFixedPitch,
                      .multiLine = true,
                      .scrollBars = ScrollBars::Vertical}};
    Frame Frame7{*this,
                 {.name = "Frame7", .tab = 3, .pos = {240, 3180, 5655, 615}, .caption = U"Order"}};
    OptionButton optOrderVF{*this,
                            {.name = "optOrderVF",
                             .container = &Frame7,
                             .pos = {1440, 240, 1215, 255},
                             .caption = U"Variable First",
                             .value = 1}};
    OptionButton optOrderFF{*this,
                            {.name = "optOrderFF",
                             .container = &Frame7,
                             .pos = {3360, 240, 1095, 195},
                             .caption = U"Fixed First"}};
    TextBox txtSignature1{*this,
                          {.name = "txtSignature1",
                           .tab = 3,
                           .pos = {240, 3960, 5655, 2055},
                           .font = kFixedPitch,
                           .multiLine = true,
                           .scrollBars = ScrollBars::Both}};
    CommandButton Apply{
        *this, {.name = "Apply", .tab = 3, .pos = {240, 6180, 1575, 255}, .caption = U"&Apply "}};
    CommandButton cmdTray1{*this,
                           {.name = "cmdTray1",
                            .tab = 3,
                            .pos = {2280, 6180, 1575, 255},
                            .caption = U"Tray Minimize"}};
    CommandButton btnSaveSett{*this,
                              {.name = "btnSaveSett",
                               .tab = 3,
                               .pos = {4440, 6180, 1455, 255},
                               .caption = U"&Save Settings"}};

    // Tab 4, "Options": schedule and output.
    SliderControl Slider{*this,
                         {.name = "Slider",
                          .tab = 4,
                          .pos = {360, 960, 5415, 495},
                          .text = U"",
                          .value = 0,
                          .min = 0,
                          .max = 8}};
    Label Label10{*this,
                  {.name = "Label10",
                   .tab = 4,
                   .pos = {480, 1440, 2175, 255},
                   .caption = U"Variable Part Changes Every:"}};
    Label lblFreq{*this, {.name = "lblFreq", .tab = 4, .pos = {2640, 1440, 975, 255}}};
    Frame Frame1{
        *this,
        {.name = "Frame1", .tab = 4, .pos = {360, 1920, 5415, 1935}, .caption = U"Output To"}};
    CheckBox chkClip{*this,
                     {.name = "chkClip",
                      .container = &Frame1,
                      .pos = {120, 720, 975, 255},
                      .caption = U"&Clipboard"}};
    CheckBox chkFile{*this,
                     {.name = "chkFile",
                      .container = &Frame1,
                      .pos = {120, 1200, 1935, 255},
                      .caption = U"&Send to Signature File",
                      .value = 1}};
    TextBox txtSigFile{*this,
                       {.name = "txtSigFile",
                        .container = &Frame1,
                        .pos = {120, 1560, 4695, 285},
                        .text = U"Signature File Location",
                        .readOnly = true}};
    CommandButton cmdSigFile{*this,
                             {.name = "cmdSigFile",
                              .container = &Frame1,
                              .pos = {4800, 1350, 495, 495},
                              .picture = "cabinet"}};
    Frame frOutputType{*this,
                       {.name = "frOutputType",
                        .container = &Frame1,
                        .pos = {2760, 240, 1695, 1095},
                        .caption = U"Output Type"}};
    OptionButton optText{*this,
                         {.name = "optText",
                          .container = &frOutputType,
                          .pos = {240, 240, 1335, 255},
                          .caption = U"Text",
                          .value = 1}};
    OptionButton optHTML{*this,
                         {.name = "optHTML",
                          .container = &frOutputType,
                          .pos = {240, 480, 1095, 255},
                          .caption = U"HTML"}};
    OptionButton optRTF{*this,
                        {.name = "optRTF",
                         .container = &frOutputType,
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
    CommandButton cmdApply4{
        *this, {.name = "cmdApply4", .tab = 4, .pos = {240, 6120, 1695, 240}, .caption = U"Apply"}};
    CommandButton cmdTray4{*this,
                           {.name = "cmdTray4",
                            .tab = 4,
                            .pos = {2160, 6120, 1695, 255},
                            .caption = U"Minimize Tray"}};
    CommandButton cmdSave4{*this,
                           {.name = "cmdSave4",
                            .tab = 4,
                            .pos = {4320, 6120, 1455, 255},
                            .caption = U"Save Settings"}};

    // Tab 5, "About".
    Image Image2{*this,
                 {.name = "Image2",
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
    Label email{*this,
                {.name = "email",
                 .tab = 5,
                 .pos = {1800, 5040, 2775, 255},
                 .caption = U"velmo@example.org"}};
    Label lblHTML{*this,
                  {.name = "lblHTML",
                   .tab = 5,
                   .pos = {360, 5280, 5295, 495},
                   .caption = U"Home Page for Velmo",
                   .font = {"Comic Sans MS", 20.25},
                   .alignment = Alignment::Center,
                   .foreColor = colors::Red}};
    Label ulrHomePage{*this,
                      {.name = "ulrHomePage",
                       .tab = 5,
                       .pos = {1560, 5880, 3015, 375},
                       .caption = U"https://velmo.example.org/"}};
    CommandButton cmdHelp{
        *this, {.name = "cmdHelp", .tab = 5, .pos = {4680, 5880, 1020, 375}, .caption = U"&Help"}};

    // The notification-area pop-up; its top item is never shown as a menu bar.
    MenuItem TrayMenu{*this, {.name = "TrayMenu", .caption = U"&TrayMenu", .visible = false}};
    MenuItem mnuopen{*this,
                     {.name = "mnuopen", .container = &TrayMenu, .caption = U"&Open Window"}};
    // The window starts hidden, so only "Open Window" is offered at first.
    MenuItem mnuPut{
        *this,
        {.name = "mnuPut", .container = &TrayMenu, .caption = U"&Put on Tray", .visible = false}};
    MenuItem mnuSep1{*this, {.name = "mnuSep1", .container = &TrayMenu, .caption = U"-"}};
    MenuItem mnuAutoPaste{
        *this, {.name = "mnuAutoPaste", .container = &TrayMenu, .caption = U"&Load Clipboard"}};
    MenuItem mnuClipSig{
        *this, {.name = "mnuClipSig", .container = &mnuAutoPaste, .caption = U"Full &Signature"}};
    MenuItem mnuClipVar{
        *this, {.name = "mnuClipVar", .container = &mnuAutoPaste, .caption = U"&Variable Part"}};
    MenuItem mnuClipFixed{
        *this, {.name = "mnuClipFixed", .container = &mnuAutoPaste, .caption = U"&Fixed Part"}};
    MenuItem mnusep2{*this, {.name = "mnusep2", .container = &TrayMenu, .caption = U"-"}};
    MenuItem mnuRandomize{
        *this, {.name = "mnuRandomize", .container = &TrayMenu, .caption = U"&Randomize"}};
    MenuItem mnuHelp{*this, {.name = "mnuHelp", .container = &TrayMenu, .caption = U"&Help"}};
    MenuItem mnuSep4{*this, {.name = "mnuSep4", .container = &TrayMenu, .caption = U"-"}};
    MenuItem mnuExit{*this, {.name = "mnuExit", .container = &TrayMenu, .caption = U"&Quit"}};
};

}  // namespace velmo
