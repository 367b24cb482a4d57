unit QryDemoMain;

interface

uses
  Forms, QryDB, QryTable;

type
  TDemoForm = class(TForm)
    Database: TQryDatabase;
    Customers: TQryTable;
  end;

var
  DemoForm: TDemoForm;

implementation

{$R *.DFM}

end.
