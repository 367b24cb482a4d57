object MainForm: TForm
  Caption = 'Minimal setup'
  object Install1: TInstall
    DestDir = '\Minimal'
    Information.CompanyName = 'Example Company'
    Information.ProductName = 'Minimal Product'
    Information.Version = '1.0'
  end
end
