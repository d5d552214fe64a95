object Form1: TForm1
  Left = 358
  Top = 9
  Caption = 'Quibrel Reporting Tool'
  ClientHeight = 631
  ClientWidth = 513
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poDesigned
  AutoScroll = False
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 192
    Top = 164
    Width = 276
    Height = 13
    Caption = 'The report has been copied to the clipboard. You can now'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clRed
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Visible = False
  end
  object Label2: TLabel
    Left = 192
    Top = 180
    Width = 305
    Height = 13
    Caption = 'Paste the information into an email (Right-click then select Paste)'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clRed
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    Visible = False
  end
  object Label3: TLabel
    Left = 12
    Top = 8
    Width = 324
    Height = 13
    Caption = 'Please enter the make and model of scanner being used:'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label4: TLabel
    Left = 16
    Top = 36
    Width = 30
    Height = 13
    Caption = 'Make:'
  end
  object Label5: TLabel
    Left = 16
    Top = 64
    Width = 32
    Height = 13
    Caption = 'Model:'
  end
  object Label6: TLabel
    Left = 16
    Top = 92
    Width = 393
    Height = 13
    Caption = 
      'If an error occurs when running the report then remove the tick ' +
      'below and try again.'
  end
  object Label7: TLabel
    Left = 196
    Top = 117
    Width = 253
    Height = 13
    Caption = '(Please let us know the exact error message you saw)'
  end
  object Bevel1: TBevel
    Left = 12
    Top = 132
    Width = 481
    Height = 17
    Shape = bsBottomLine
    Style = bsLowered
  end
  object Button1: TButton
    Left = 12
    Top = 164
    Width = 145
    Height = 29
    Caption = 'Run Report'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Memo1: TMemo
    Left = 12
    Top = 204
    Width = 489
    Height = 417
    ReadOnly = True
    ScrollBars = ssVertical
    WordWrap = False
    MaxLength = 0
    TabOrder = 1
  end
  object Button2: TButton
    Left = 560
    Top = 28
    Width = 75
    Height = 25
    Caption = 'Button2'
    TabOrder = 2
    Visible = False
    OnClick = Button2Click
  end
  object Edit1: TEdit
    Left = 56
    Top = 32
    Width = 201
    Height = 21
    MaxLength = 0
    TabOrder = 3
  end
  object Edit2: TEdit
    Left = 56
    Top = 60
    Width = 201
    Height = 21
    MaxLength = 0
    TabOrder = 4
  end
  object CheckBox1: TCheckBox
    Left = 16
    Top = 116
    Width = 177
    Height = 17
    Caption = 'Load and query Twain drivers'
    Checked = True
    TabOrder = 5
    OnClick = CheckBox1Click
  end
  object DTwain1: TDTwain
    TransferMode = ttmNative
    SourceCount = 0
    Info.MajorVersion = 4
    Info.MinorVersion = 1
    Info.Language = tlUserLocale
    Info.CountryCode = 1
    Info.Groups = [tgControl, tgImage]
    Info.VersionInfo = 'Quibrel Scan'
    Info.Manufacturer = 'Quibrel'
    Info.ProductFamily = 'Quibrel Scan'
    Info.ProductName = 'Quibrel Scan'
    LibraryLoaded = False
    SourceManagerLoaded = False
  end
  object XPManifest1: TXPManifest
  end
end
