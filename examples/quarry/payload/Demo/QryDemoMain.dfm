object DemoForm: TDemoForm
  Caption = 'Quarry demonstration'
  object Database: TQryDatabase
    DatabaseName = 'DEMO'
  end
  object Customers: TQryTable
    Database = Database
    TableName = 'CUSTOMER'
  end
end
